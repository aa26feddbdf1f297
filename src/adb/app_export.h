#pragma once
// Copying an app's APK files from a box to a folder on the computer, on the engine's thread: the
// files the listing named (else, or when the app has changed since, those "pm path" names) are
// pulled into a hidden folder of their own beside the
// target, and only a whole copy gets its name: one APK as "NAME.apk", a base APK with its splits
// as the folder "NAME". A copy that fails, or would not fit on the disk, leaves nothing behind.
#include <cstdint>
#include <string>
#include <vector>

#include "base/box_address.h"

namespace adb {

struct ExportRequest {
    std::wstring package;
    std::wstring folder;  // where the copy goes; it exists
    std::wstring name;    // ExportName (app_commands.h)
    uint64_t bytes = 0;   // what the box said the files take, 0 when it did not say
    std::vector<std::wstring> apkPaths;  // as the listing named them; empty: ask the box
};

struct ExportOutcome {
    int32_t code = 0;     // Success or Failed (command_set.h)
    std::wstring output;  // what the client printed, or why the computer could not take the copy
    std::wstring path;    // the exported file or folder
};

ExportOutcome ExportAppFiles(base::BoxAddress box, const ExportRequest& request);

}  // namespace adb
