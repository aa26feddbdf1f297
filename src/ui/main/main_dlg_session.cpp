// The main window between the session and the world: the workers' results, drops, the search
// timer, the picker's choice and the page links go to the session; what the session asks for goes
// to the engine, the discovery worker, the timer, the picker and the page views.
#include "ui/main/main_dlg.h"

#include <shellapi.h>

#include <memory>

#include "adb/shell_mgr.h"
#include "ui/main/pages.h"
#include "win/dropped_files.h"

namespace ui {

LRESULT CMainDlg::OnScanResult(UINT, WPARAM wParam, LPARAM, bool&) {
    session_.OnScanResult(static_cast<base::BoxAddress>(wParam));
    return 0;
}

LRESULT CMainDlg::OnShellResult(UINT, WPARAM wParam, LPARAM, bool&) {
    const std::unique_ptr<adb::ShellResult> result(reinterpret_cast<adb::ShellResult*>(wParam));
    if (!result) return 0;
    switch (result->kind) {
    case adb::ShellTaskKind::Connect: session_.OnConnectResult(result->ip, result->code); break;
    case adb::ShellTaskKind::QueryModel: session_.OnModelResult(result->ip, result->name); break;
    case adb::ShellTaskKind::Install:
        session_.OnInstallResult(result->cookie, result->code, result->reason, result->output, result->percent);
        if (session_.State() == Done) appsPage_.RefreshIfListed();
        break;
    default: appsPage_.OnResult(*result); break;
    }
    return 0;
}

LRESULT CMainDlg::OnAppsCommand(UINT, WPARAM wParam, LPARAM lParam, bool& handled) {
    const WORD id = LOWORD(wParam);
    handled = id >= cmd::kAppsFirst && id <= cmd::kAppsLast;
    if (handled) appsPage_.OnCommand(id, HIWORD(wParam), lParam);
    return 0;
}

LRESULT CMainDlg::OnBoxSelected(UINT, WPARAM wParam, LPARAM, bool&) {
    const auto box = static_cast<base::BoxAddress>(wParam);
    if (box == kSearchAgainRow)
        session_.SearchAgain();
    else
        session_.OnBoxSelected(box);
    return 0;
}

LRESULT CMainDlg::OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled) {
    switch (wParam) {
    case kFirstSearchTimer:
        KillTimer(hwnd_, kFirstSearchTimer);
        session_.SearchAgain();
        return 0;
    case kSearchTimer:
        session_.OnSearchTimeout();
        return 0;
    default:
        handled = false;
        return 0;
    }
}

LRESULT CMainDlg::OnDropFiles(UINT, WPARAM wParam, LPARAM, bool&) {
    const auto drop = reinterpret_cast<HDROP>(wParam);
    std::vector<std::wstring> names;
    if (session_.AcceptsDrops()) names = win::DroppedFileNames(drop, kMaxDroppedFiles);
    DragFinish(drop);
    session_.OnDrop(names);
    return 0;
}

LRESULT CMainDlg::OnContinue(WORD, WORD, HWND, bool&) {
    session_.Continue();
    return 0;
}

LRESULT CMainDlg::OnInstallAgain(WORD, WORD, HWND, bool&) {
    session_.InstallAgain();
    return 0;
}

LRESULT CMainDlg::OnSearchAgain(WORD, WORD, HWND, bool&) {
    session_.SearchAgain();
    return 0;
}

LRESULT CMainDlg::OnShowReasons(WORD, WORD, HWND, bool&) {
    session_.ToggleReasons();
    return 0;
}

LRESULT CMainDlg::OnCancelInstall(WORD, WORD, HWND, bool&) {
    session_.CancelInstall();
    return 0;
}

LRESULT CMainDlg::OnDevicePanel(WORD, WORD, HWND, bool&) {
    if (!picker_.IsWindow()) picker_.CreatePicker(hwnd_);
    RECT window;
    GetWindowRect(hwnd_, &window);
    const BoxRegistry& boxes = session_.Boxes();
    const std::vector<base::BoxAddress> others = boxes.Others();
    picker_.ShowPicker(window.left, window.top + kPickerTop, others, session_.CanSearchAgain());
    for (base::BoxAddress box : others) picker_.UpdateRow(box, boxes.DisplayName(box));
    return 0;
}

void CMainDlg::StartScan() { discovery::CFindWifiAndroid::Instance()->StartScan(hwnd_); }

void CMainDlg::SetSearchTimer(bool running) {
    if (running)
        SetTimer(hwnd_, kSearchTimer, kSearchMilliseconds, nullptr);
    else
        KillTimer(hwnd_, kSearchTimer);
}

void CMainDlg::Connect(base::BoxAddress box) { adb::CShellMgr::Instance()->Connect(box, true); }

void CMainDlg::QueryModel(base::BoxAddress box) { adb::CShellMgr::Instance()->QueryModel(box, /*justConnected=*/true); }

void CMainDlg::Install(base::BoxAddress box, const InstallItems& batch, bool joining) {
    std::vector<adb::InstallItem> items;
    for (const auto& [path, id] : batch) items.push_back({path, id});
    adb::CShellMgr::Instance()->Install(box, items, /*connectFirst=*/!joining);
}

void CMainDlg::CancelInstalls() { adb::CShellMgr::Instance()->CancelInstalls(); }

void CMainDlg::UpdatePickerRow(base::BoxAddress box, const std::wstring& displayName) {
    picker_.UpdateRow(box, displayName);
}

void CMainDlg::ShowPages() {
    const int width = ClientWidth();
    const bool installTab = selectedTab_ == cmd::kTabInstall;
    std::vector<skin::BackdropLayer> layers = deviceArea_.Show(DeviceArea::Describe(session_), width);
    const auto installLayers = installPage_.Show(
        installTab ? InstallPage::Describe(session_) : HiddenPage(InstallPage::kCount), width);
    layers.insert(layers.end(), installLayers.begin(), installLayers.end());
    const bool tasksTab = selectedTab_ == cmd::kTabTasks;
    constructionPage_.Show(tasksTab ? ConstructionPage::Describe() : HiddenPage(ConstructionPage::kCount), width);
    RECT client{};
    GetClientRect(hwnd_, &client);
    appsPage_.Show(selectedTab_ == cmd::kTabApps, session_.State() >= Ready ? session_.Boxes().Current() : base::kNoBox,
                   width, client.bottom);
    controls_.SetBackdropLayers(std::move(layers));

    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
    const LONG_PTR accepting = session_.AcceptsDrops() ? exStyle | WS_EX_ACCEPTFILES : exStyle & ~WS_EX_ACCEPTFILES;
    if (accepting != exStyle) SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, accepting);
}

}  // namespace ui
