#include "adb/shell_mgr.h"

#include <algorithm>
#include <map>

#include "adb/apk_staging.h"
#include "adb/app_commands.h"
#include "adb/box_command.h"
#include "adb/box_name.h"
#include "adb/child_limits.h"
#include "adb/command_log.h"
#include "adb/command_text.h"
#include "adb/process_runner.h"
#include "adb/progress_lines.h"

namespace adb {

namespace {
constexpr size_t kMaxNameLength = 99;
constexpr int kEngineNotStarted = 333;
}  // namespace

CShellMgr* CShellMgr::Instance() { return SingleInstance(kEngineNotStarted); }

CShellMgr::CShellMgr() : cancelEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CShellMgr::~CShellMgr() {
    if (cancelEvent_) CloseHandle(cancelEvent_);
}

void CShellMgr::SetAdbPath(const std::wstring& path) {
    adb::SetAdbPath(path);
    // Our client then tells how far each upload has come; Google's ignores the variable.
    SetEnvironmentVariableW(kProgressVariable, L"1");
    PostToWorker(kStartServerMessage);
}

bool CShellMgr::Connect(BoxAddress ip, bool notify) {
    return PostTask(ip, FormatTemplate(templates::kConnect, BoxText(ip)), static_cast<int32_t>(ip), ShellTaskKind::Connect, notify);
}

bool CShellMgr::Disconnect(BoxAddress ip) {
    return PostTask(ip, FormatTemplate(templates::kDisconnect, BoxText(ip)), static_cast<int32_t>(ip), ShellTaskKind::Connect, false);
}

bool CShellMgr::QueryModel(BoxAddress ip, bool justConnected) {
    if (!justConnected) Connect(ip, false);
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

bool CShellMgr::Install(BoxAddress ip, const std::vector<InstallItem>& items, bool connectFirst) {
    if (connectFirst && !CarriedClient()) Connect(ip, false);
    const uint32_t batch = ++queuedBatches_;
    bool queued = true;
    for (const InstallItem& item : items) {
        auto task = MakeTask(ip, {}, item.cookie, ShellTaskKind::Install, true);
        if (!task) return false;
        task->installsApk = true;
        task->apkPath = item.apkPath;
        task->batch = batch;
        queued = Post(std::move(task)) && queued;
    }
    return queued;
}

void CShellMgr::CancelInstalls() {
    cancelledBatches_ = queuedBatches_.load();
    if (cancelEvent_) SetEvent(cancelEvent_);
}

bool CShellMgr::Uninstall(BoxAddress ip, const std::vector<std::pair<std::wstring, int32_t>>& packages) {
    Connect(ip, false);
    bool queued = true;
    for (const auto& [package, cookie] : packages)
        queued = PostTask(ip, FormatTemplate(templates::kUninstall, BoxText(ip), package), cookie,
                          ShellTaskKind::Uninstall, true) && queued;
    return queued;
}

bool CShellMgr::ListApps(BoxAddress ip) {
    return PostTask(ip, templates::kListApps, static_cast<int32_t>(ip), ShellTaskKind::ListApps, true);
}

bool CShellMgr::OpenApp(BoxAddress ip, const std::wstring& package, int32_t cookie) {
    if (!IsPackageName(package)) return false;
    return PostTask(ip, FormatTemplate(templates::kOpenApp, package), cookie, ShellTaskKind::OpenApp, true);
}

bool CShellMgr::ExportApp(BoxAddress ip, const ExportRequest& request, int32_t cookie) {
    if (!IsPackageName(request.package)) return false;
    auto task = MakeTask(ip, {}, cookie, ShellTaskKind::ExportApp, true);
    if (!task) return false;
    task->exportRequest = request;
    return Post(std::move(task));
}

void CShellMgr::KillServer() { StartCommand(templates::kKillServer); }

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
    if (task.installsApk) {
        RunInstall(task);
        return;
    }
    if (task.kind == ShellTaskKind::ListApps) {
        RunListApps(task);
        return;
    }
    if (task.kind == ShellTaskKind::ExportApp) {
        const ExportOutcome exported = ExportAppFiles(task.ip, task.exportRequest);
        auto result = MakeResult(task, exported.output, exported.code);
        result->path = exported.path;
        PostResult(std::move(result));
        return;
    }
    const bool install = task.kind == ShellTaskKind::Install;
    if (install) PostResult(task, {}, Started);

    std::wstring output;
    CommandOutcome outcome;
    if (task.kind == ShellTaskKind::ListDevices)
        RunScript(task.command, output, CommandLimits());
    else if (task.kind == ShellTaskKind::OpenApp)
        outcome = DoBoxCommand(task.ip, task.command, output, CommandLimits());
    else
        outcome = DoCommand(task.command, output, CommandLimits());

    // A client that printed nothing still ends an install, an uninstall or a start: without a
    // result the window would wait for that item for good.
    const bool awaited = install || task.kind == ShellTaskKind::Uninstall || task.kind == ShellTaskKind::OpenApp;
    if (!task.notify || (output.empty() && !awaited)) return;
    int32_t code = 0;
    if (task.kind == ShellTaskKind::Connect) code = ClassifyConnect(output);
    if (install || task.kind == ShellTaskKind::Uninstall) code = ClassifyInstall(output, outcome.exitCode);
    if (task.kind == ShellTaskKind::OpenApp) code = ClassifyOpen(output);
    PostResult(task, output, code);
}

void CShellMgr::RunListApps(const ShellTask& task) {
    std::wstring output;
    DoBoxCommand(task.ip, task.command, output, ListingLimits());
    std::vector<InstalledApp> apps = ReadListing(output);
    // Every box has packages of its own: a listing without any is the client saying why not.
    if (apps.empty()) {
        PostResult(task, output, NoListing);
        return;
    }
    auto listed = MakeResult(task, {}, AppsListed);
    listed->apps = apps;
    PostResult(std::move(listed));

    // Only a box with "cmd" answered the launcher queries; it takes long requests, so that its sizes
    // come in one client run.
    const bool hasCmd = std::any_of(apps.begin(), apps.end(), [](const InstalledApp& app) { return app.launchable.has_value(); });
    std::map<std::wstring, uint64_t> sizes;
    for (const std::wstring& command : SizeCommands(apps, hasCmd ? kMaxLongShellCommand : kMaxShellCommand)) {
        std::wstring printed;
        DoCommand(ReplaceAll(FormatTemplate(templates::kShell, command), L"$ip$", BoxText(task.ip)), printed,
                  CommandLimits());
        sizes.merge(ParseSizes(printed));
    }
    for (InstalledApp& app : apps)
        if (const auto size = sizes.find(app.package); size != sizes.end()) app.bytes = size->second;
    auto sized = MakeResult(task, {}, AppsSized);
    sized->apps = std::move(apps);
    PostResult(std::move(sized));
}

void CShellMgr::RunInstall(const ShellTask& task) {
    if (IsCancelled(task)) {
        PostResult(task, {}, Failed, FailureReason::Cancelled);
        return;
    }
    PostResult(task, {}, Started);
    const StagedApk staged = StageApk(task.apkPath);
    if (staged.path.empty()) {
        PostResult(task, {}, Failed, FailureReason::FileUnreadable);
        return;
    }
    ProgressLines progress;
    int32_t told = -1;
    ChildWatch watch;
    watch.output = [&](std::string_view bytes) {
        const auto percent = progress.Feed(bytes);
        if (!percent || *percent == told) return;
        told = *percent;
        PostResult(task, {}, Progress, FailureReason::None, told);
    };
    watch.cancelEvent = cancelEvent_;
    watch.cancelled = [&] { return IsCancelled(task); };
    std::wstring output;
    const CommandOutcome outcome = DoCommand(FormatTemplate(templates::kInstall, BoxText(task.ip), staged.path),
                                             output, InstallLimits(staged.bytes), watch);
    RemoveStagedCopy(staged.path);
    output = WithoutProgressLines(output);
    const int32_t code = ClassifyInstall(output, outcome.exitCode);
    const bool failed = code == Failed || code == InvalidUri;
    PostResult(task, output, code, failed ? ClassifyFailure(output, outcome.end) : FailureReason::None);
}

std::unique_ptr<ShellResult> CShellMgr::MakeResult(const ShellTask& task, const std::wstring& output, int32_t code,
                                                  FailureReason reason, int32_t percent) const {
    auto result = std::make_unique<ShellResult>();
    result->kind = task.kind;
    result->ip = task.ip;
    result->cookie = task.cookie;
    result->code = code;
    result->reason = reason;
    result->percent = percent;
    if (task.kind == ShellTaskKind::QueryModel) result->name = BoxDisplayName(output).substr(0, kMaxNameLength);
    result->output = output;
    return result;
}

void CShellMgr::PostResult(const ShellTask& task, const std::wstring& output, int32_t code, FailureReason reason,
                           int32_t percent) {
    PostResult(MakeResult(task, output, code, reason, percent));
}

void CShellMgr::PostResult(std::unique_ptr<ShellResult> result) {
    const HWND window = notifyWindow_;
    if (window && PostMessageW(window, WM_SHELL_RESULT, reinterpret_cast<WPARAM>(result.get()), 0))
        result.release();  // the notify window owns it now
}

LRESULT CShellMgr::OnStartServer(UINT, WPARAM, LPARAM, bool&) {
    RemoveStagingLeftovers();
    if (CarriedClient()) return 0;  // it has no server to start
    if (CommandLogEnabled) WriteCommandLog(L"<-----before start-server\r\n");
    StartCommand(templates::kStartServer);
    if (CommandLogEnabled) WriteCommandLog(L"----->after start-server\r\n");
    return 0;
}

}  // namespace adb
