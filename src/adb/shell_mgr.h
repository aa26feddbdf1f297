#pragma once
// The command engine: one worker thread that runs ADB client command lines, one task at a time in
// the order they were queued, classifies their output and posts the results to one window.
// The user-interface thread never waits for the client.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "adb/command_set.h"
#include "adb/shell_records.h"
#include "win/worker_thread.h"

namespace adb {

struct InstallItem {
    std::wstring apkPath;
    int32_t cookie = 0;
};

class CShellMgr : public win::CSomWorkerThread<CShellMgr> {
public:
    // The program's one engine, started on first use; ends the process with 333 if it cannot start.
    static CShellMgr* Instance();

    // Stores the client's path and has the engine thread, before any task, clear the staging
    // folder of earlier runs' copies and run "start-server" (not for the carried client, which
    // has no server).
    void SetAdbPath(const std::wstring& path);
    void SetNotifyWindow(HWND window) { notifyWindow_ = window; }

    bool Connect(BoxAddress ip, bool notify);
    bool Disconnect(BoxAddress ip);
    // A model query goes to a connected box: it is queued after a silent connect, unless the
    // caller has just had the box connected (a connect result in hand), when one more connect
    // would only talk to the box twice.
    bool QueryModel(BoxAddress ip, bool justConnected = false);
    bool ListDevices(BoxAddress ip);
    bool ListPackages(BoxAddress ip);
    // Installs the APKs one after the other, each reporting Started, its progress (when the client
    // tells it) and its result. connectFirst false: the items join an earlier call's, whose connect
    // is still ahead of them in the queue. The carried client needs no connect first.
    bool Install(BoxAddress ip, const std::vector<InstallItem>& items, bool connectFirst = true);
    // Ends the install running now and every one queued so far: each posts Failed with the reason
    // Cancelled (those not yet started, without a Started notice).
    void CancelInstalls();
    bool Uninstall(BoxAddress ip, const std::vector<std::pair<std::wstring, int32_t>>& packages);
    // The box's apps: one result with what the box tells of them (code AppsListed), then one more
    // with their sizes as well (AppsSized); or a result with the client's output alone (NoListing).
    bool ListApps(BoxAddress ip);
    // Starts the app on the TV's screen; a result with code Success or Failed.
    bool OpenApp(BoxAddress ip, const std::wstring& package, int32_t cookie);
    // Copies the app's APK files to the computer (app_export.h); a result with code Success and
    // the copy's path, or Failed.
    bool ExportApp(BoxAddress ip, const ExportRequest& request, int32_t cookie);
    // Runs on the caller's thread, outside the queue.
    void KillServer();

    // The one road by which work is queued. False when nothing was queued (no box, no window).
    bool PostTask(BoxAddress ip, const std::wstring& command, int32_t cookie, int32_t kind, bool notify);

    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WIN_MESSAGE_HANDLER(WM_SHELL_TASK, OnShellTask)
        WIN_MESSAGE_HANDLER(kStartServerMessage, OnStartServer)
    WIN_END_MSG_MAP()

    CShellMgr();
    ~CShellMgr() override;

    bool OnThreadInit() { return true; }
    void OnThreadExit() { delete this; }

private:
    static constexpr UINT kStartServerMessage = WM_APP + 1;

    bool Post(std::unique_ptr<ShellTask> task);
    std::unique_ptr<ShellTask> MakeTask(BoxAddress ip, const std::wstring& command, int32_t cookie,
                                        int32_t kind, bool notify) const;
    void RunTask(const ShellTask& task);
    // Stages the APK, installs the copy and removes it; a copy that cannot be made fails the
    // install without running the client.
    void RunInstall(const ShellTask& task);
    void RunListApps(const ShellTask& task);
    bool IsCancelled(const ShellTask& task) const { return task.batch != 0 && task.batch <= cancelledBatches_; }
    std::unique_ptr<ShellResult> MakeResult(const ShellTask& task, const std::wstring& output, int32_t code,
                                            FailureReason reason = FailureReason::None, int32_t percent = -1) const;
    void PostResult(const ShellTask& task, const std::wstring& output, int32_t code,
                    FailureReason reason = FailureReason::None, int32_t percent = -1);
    void PostResult(std::unique_ptr<ShellResult> result);

    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool&) { return 0; }
    LRESULT OnShellTask(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnStartServer(UINT, WPARAM, LPARAM, bool&);

    std::atomic<HWND> notifyWindow_{nullptr};
    // Install calls so far, and those of them cancelled (every one up to that number).
    std::atomic<uint32_t> queuedBatches_{0};
    std::atomic<uint32_t> cancelledBatches_{0};
    HANDLE cancelEvent_;
};

}  // namespace adb
