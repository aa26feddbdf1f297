#pragma once
// The command engine's task and result records and the two messages that carry them. Both are
// heap records owned by whoever receives the message.
#include <windows.h>

#include <cstdint>
#include <string>

#include <vector>

#include "adb/app_export.h"
#include "adb/app_listing.h"
#include "adb/command_set.h"
#include "adb/failure_reason.h"
#include "base/program_messages.h"

namespace adb {

using base::WM_SHELL_RESULT;
using base::WM_SHELL_TASK;

struct ShellTask {
    BoxAddress ip = kNoBox;
    std::wstring command;  // "$ip$" already replaced, "$adb$" not yet
    int32_t cookie = 0;
    bool notify = false;
    int32_t kind = Connect;
    // An APK install carries the APK's own path, so the engine thread never reads the caller's
    // state; its command is made once the staged copy exists.
    bool installsApk = false;
    std::wstring apkPath;
    ExportRequest exportRequest;  // kind ExportApp
    uint32_t batch = 0;  // which call of Install queued it (from 1), for cancelling; 0 for other tasks
};

struct ShellResult {
    int32_t kind = Connect;
    std::wstring output;  // the whole captured output; empty for a Started notice
    BoxAddress ip = kNoBox;
    int32_t cookie = 0;
    int32_t code = 0;      // kinds Connect and Install
    std::wstring name;     // kind QueryModel: the box's display name, at most 99 characters
    std::vector<InstalledApp> apps;  // kind ListApps
    std::wstring path;     // kind ExportApp: the exported file or folder
    FailureReason reason = FailureReason::None;  // of a failure (codes Failed and InvalidUri)
    int32_t percent = -1;  // code Progress: how much of the APK has gone to the box
};

}  // namespace adb
