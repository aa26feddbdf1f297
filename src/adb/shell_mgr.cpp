#include "adb/shell_mgr.h"

#include "adb/apk_staging.h"
#include "adb/box_name.h"
#include "adb/command_text.h"
#include "adb/process_runner.h"

namespace adb {

namespace {
constexpr size_t kMaxNameLength = 99;
constexpr int kEngineNotStarted = 333;
}  // namespace

CShellMgr* CShellMgr::Instance() { return SingleInstance(kEngineNotStarted); }

void CShellMgr::SetAdbPath(const std::wstring& path) {
    adb::SetAdbPath(path);
    PostToWorker(kStartServerMessage);
}

bool CShellMgr::Connect(BoxAddress ip, bool notify) {
    return PostTask(ip, FormatTemplate(templates::kConnect, BoxText(ip)), static_cast<int32_t>(ip), ShellTaskKind::Connect, notify);
}

bool CShellMgr::Disconnect(BoxAddress ip) {
    return PostTask(ip, FormatTemplate(templates::kDisconnect, BoxText(ip)), static_cast<int32_t>(ip), ShellTaskKind::Connect, false);
}

bool CShellMgr::QueryModel(BoxAddress ip) {
    Connect(ip, false);
    return PostTask(ip, templates::kQueryModel, static_cast<int32_t>(ip), ShellTaskKind::QueryModel, true);
}

bool CShellMgr::ListDevices(BoxAddress ip) {
    Connect(ip, false);
    return PostTask(ip, templates::kListDevices, static_cast<int32_t>(ip), ShellTaskKind::ListDevices, true);
}

bool CShellMgr::ListPackages(BoxAddress ip) {
    Connect(ip, false);
    return PostTask(ip, templates::kListPackages, static_cast<int32_t>(ip), ShellTaskKind::ListPackages, true);
}

bool CShellMgr::Install(BoxAddress ip, const std::vector<InstallItem>& items) {
    Connect(ip, false);
    bool queued = true;
    for (const InstallItem& item : items) {
        const std::wstring staged = StagingPath(item.cookie);
        auto task = MakeTask(ip, FormatTemplate(templates::kInstall, BoxText(ip), staged), item.cookie,
                             ShellTaskKind::Install, true);
        if (!task) return false;
        task->sourcePath = item.apkPath;
        task->stagedPath = staged;
        queued = Post(std::move(task)) && queued;
    }
    return queued;
}

bool CShellMgr::Uninstall(BoxAddress ip, const std::vector<std::pair<std::wstring, int32_t>>& packages) {
    Connect(ip, false);
    bool queued = true;
    for (const auto& [package, cookie] : packages)
        queued = PostTask(ip, FormatTemplate(templates::kUninstall, BoxText(ip), package), cookie,
                          ShellTaskKind::Uninstall, true) && queued;
    return queued;
}

void CShellMgr::KillServer() {
    std::string ignored;
    RunCommandLine(ReplaceAll(templates::kKillServer, L"$adb$", AdbPath()), ignored, false);
}

bool CShellMgr::PostTask(BoxAddress ip, const std::wstring& command, int32_t cookie, int32_t kind, bool notify) {
    auto task = MakeTask(ip, command, cookie, kind, notify);
    return task && Post(std::move(task));
}

std::unique_ptr<ShellTask> CShellMgr::MakeTask(BoxAddress ip, const std::wstring& command, int32_t cookie,
                                               int32_t kind, bool notify) const {
    if (ip == kNoBox) return nullptr;
    auto task = std::make_unique<ShellTask>();
    task->ip = ip;
    task->command = ReplaceAll(command, L"$ip$", BoxText(ip));
    task->cookie = cookie;
    task->notify = notify;
    task->kind = kind;
    return task;
}

bool CShellMgr::Post(std::unique_ptr<ShellTask> task) {
    if (!PostToWorker(WM_SHELL_TASK, reinterpret_cast<WPARAM>(task.get()))) return false;
    task.release();  // the engine thread owns it now
    return true;
}

LRESULT CShellMgr::OnShellTask(UINT, WPARAM wParam, LPARAM, bool&) {
    std::unique_ptr<ShellTask> task(reinterpret_cast<ShellTask*>(wParam));
    if (task) RunTask(*task);
    return 0;
}

void CShellMgr::RunTask(const ShellTask& task) {
    const bool install = task.kind == ShellTaskKind::Install;
    if (install) {
        auto started = std::make_unique<ShellResult>();
        started->kind = task.kind;
        started->ip = task.ip;
        started->cookie = task.cookie;
        started->code = Started;
        PostResult(std::move(started));
        StageApk(task.sourcePath, task.stagedPath);
    }

    std::wstring output;
    if (task.kind == ShellTaskKind::ListDevices)
        RunScript(task.command, output);
    else
        DoCommand(task.command, output);

    // A client that printed nothing still ends its install: without a result the window would wait
    // for this APK for good.
    if (!task.notify || (output.empty() && !install)) return;

    auto result = std::make_unique<ShellResult>();
    result->kind = task.kind;
    result->ip = task.ip;
    result->cookie = task.cookie;
    switch (task.kind) {
    case ShellTaskKind::Connect:
        result->code = ClassifyConnect(output);
        break;
    case ShellTaskKind::Install:
    case ShellTaskKind::Uninstall:
        result->code = ClassifyInstall(output);
        break;
    case ShellTaskKind::QueryModel:
        result->name = BoxDisplayName(output).substr(0, kMaxNameLength);
        break;
    default:
        break;
    }
    result->output = std::move(output);
    PostResult(std::move(result));
}

void CShellMgr::PostResult(std::unique_ptr<ShellResult> result) {
    const HWND window = notifyWindow_;
    if (window && PostMessageW(window, WM_SHELL_RESULT, reinterpret_cast<WPARAM>(result.get()), 0))
        result.release();  // the notify window owns it now
}

LRESULT CShellMgr::OnStartServer(UINT, WPARAM, LPARAM, bool&) {
    if (CommandLogEnabled) WriteCommandLog(L"<-----before start-server\r\n");
    std::string ignored;
    RunCommandLine(ReplaceAll(templates::kStartServer, L"$adb$", AdbPath()), ignored, false);
    if (CommandLogEnabled) WriteCommandLog(L"----->after start-server\r\n");
    return 0;
}

}  // namespace adb
