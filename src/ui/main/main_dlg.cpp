#include "ui/main/main_dlg.h"

#include <shellapi.h>

#include "adb/shell_mgr.h"
#include "product_info.h"
#include "ui/main/commands.h"
#include "ui/main/page_texts.h"
#include "ui/skin/paint/skin_resources.h"
#include "win/app_module.h"

namespace ui {

namespace {

constexpr DWORD kStyle = 0x96080000;     // pop-up, visible, clip siblings and children, system menu
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
constexpr int kWidth = 900, kHeight = 600;

skin::CSomBitmap* Art(int number) { return skin::Skin()->Bitmap(number); }

}  // namespace

CMainDlg::CMainDlg() = default;

namespace {

// 900 x 600, centred in the work area of the monitor that holds the point (or window).
RECT CentredRect(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(monitor, &info);
    const RECT& work = info.rcWork;
    const int x = work.left + (work.right - work.left - kWidth) / 2;
    const int y = work.top + (work.bottom - work.top - kHeight) / 2;
    return RECT{x, y, x + kWidth, y + kHeight};
}

}  // namespace

HWND CMainDlg::CreateMainWindow() {
    // Made at its final place and size: a visible window that only gets its size while it is being
    // created is never drawn under Wine.
    return Create(nullptr, CentredRect(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)), nullptr, kStyle,
                  kExStyle);
}

LRESULT CMainDlg::OnCreate(UINT, WPARAM, LPARAM, bool&) {
    if (win::MessageLoop* loop = win::Module().GetMessageLoop()) loop->AddMessageFilter(this);
    CreateControls();
    // The buttons' tooltips ("关闭", "最小化", "关于") show where a user expects them.
    manager_.AttachToolTipWindow(hwnd_);

    // Centred on the monitor the window is on; the layout runs with the size.
    const RECT place = CentredRect(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST));
    SetWindowPos(hwnd_, nullptr, place.left, place.top, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout(kWidth);

    forumRect_ = RECT{737, 47, 890, 97};
    adb::CShellMgr::Instance()->SetNotifyWindow(hwnd_);
    SearchAgain();  // the first search is no different
    return 0;
}

void CMainDlg::CreateControls() {
    using namespace skin;
    const uint32_t shown = kSomVisible | kSomAutoSize;
    devicePanel_.Create(&manager_, nullptr, 0, 0, 0, 0, 0, cmd::kDevicePanel, shown);

    const struct {
        CSomWndTipImpl<CSomButton3>& button;
        int id;
        int face;
        const wchar_t* tip;
    } buttons[] = {{closeButton_, cmd::kClose, 10012, L"关闭"},
                   {minimizeButton_, cmd::kMinimize, 10023, L"最小化"},
                   {aboutButton_, cmd::kAbout, 10024, L"关于"}};
    for (const auto& b : buttons) {
        b.button.SetFaceBitmap(Art(b.face));
        b.button.SetTipText(b.tip);
        b.button.Create(&manager_, nullptr, 0, 0, 0, 0, 0, b.id, shown);
    }

    for (CSomTextWnd* text : {&statusTitle_, &statusAddress_})
        text->Create(&manager_, nullptr, 0, 0, 0, 0, 0, 0, shown);
    noBoxPicture_.SetBitmap(Art(10034), 0);
    noBoxPicture_.Create(&manager_, nullptr, 0, 0, 0, 0, 0, 0, shown);
    searchAnimation_.SetBitmap(Art(10019), 0);
    searchAnimation_.Create(&manager_, nullptr, 0, 0, 0, 0, 0, 0, shown);
    waitPicture_.SetBitmap(Art(10031), 0);
    waitPicture_.Create(&manager_, nullptr, 0, 0, 0, 0, 0, 0, shown);
    readyPicture_.SetBitmap(Art(10033), 0);
    readyPicture_.Create(&manager_, nullptr, 0, 0, 0, 0, 0, 0, shown);
    installAnimation_.SetBitmap(Art(10032), 0);
    installAnimation_.Create(&manager_, nullptr, 0, 0, 0, 0, 0, 0, shown);
    for (CSomTextWnd* text : {&installText_, &constructionText_})
        text->Create(&manager_, nullptr, 0, 0, 0, 0, 0, 0, shown);
    donePicture_.SetBitmap(Art(10029), 0);
    donePicture_.Create(&manager_, nullptr, 0, 0, 0, 0, 0, 0, shown);
    for (CSomTextWnd* text : {&resultLine1_, &resultLine2_, &resultLine3_, &dropHint_})
        text->Create(&manager_, nullptr, 0, 0, 0, 0, 0, 0, shown);
    constructionText_.SetText(texts::Construction().c_str());

    const struct {
        int id;
        int icon;
        const wchar_t* caption;
    } tabs[] = {{cmd::kTabInstall, 10015, L"安装应用"}, {cmd::kTabApps, 10016, L"应用管理"}, {cmd::kTabTasks, 10017, L"任务管理"}};
    for (size_t i = 0; i < tabBar_.size(); ++i) {
        tabBar_[i].SetIcon(Art(tabs[i].icon), 0);
        tabBar_[i].SetCaption(tabs[i].caption);
        tabBar_[i].Create(&manager_, nullptr, 0, 0, 0, 0, 0, tabs[i].id, shown);
    }
    tabBar_[0].SetSelected(true);
}

LRESULT CMainDlg::OnDestroy(UINT, WPARAM, LPARAM, bool&) {
    if (win::MessageLoop* loop = win::Module().GetMessageLoop()) loop->RemoveMessageFilter(this);
    return 0;
}

LRESULT CMainDlg::OnSize(UINT, WPARAM wParam, LPARAM lParam, bool&) {
    if (wParam != SIZE_MINIMIZED) {
        Layout(LOWORD(lParam));
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    return 0;
}

LRESULT CMainDlg::OnClose(UINT, WPARAM, LPARAM, bool&) {
    CloseProgram();
    return 0;
}

void CMainDlg::CloseProgram() {
    DestroyWindow(hwnd_);
    PostQuitMessage(0);
}

LRESULT CMainDlg::OnSetCursor(UINT, WPARAM, LPARAM, bool& handled) {
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(hwnd_, &cursor);
    if (!PtInRect(&forumRect_, cursor)) {
        handled = false;
        return 0;
    }
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

LRESULT CMainDlg::OnLButtonDown(UINT, WPARAM, LPARAM lParam, bool&) {
    const POINT down{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    // Dragging by any free spot; returns when the button is released.
    SendMessageW(hwnd_, WM_SYSCOMMAND, 0xF012, 0);
    if (PtInRect(&forumRect_, down)) ShellExecuteW(hwnd_, L"open", MIVORA_FORUM_URL, nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
}

LRESULT CMainDlg::OnCommand(UINT, WPARAM wParam, LPARAM, bool& handled) {
    if (HIWORD(wParam) != 0) {
        handled = false;
        return 0;
    }
    switch (LOWORD(wParam)) {
    case cmd::kClose: CloseProgram(); break;
    case cmd::kDevicePanel: OpenPicker(); break;
    case cmd::kMinimize: ShowWindow(hwnd_, SW_MINIMIZE); break;
    case cmd::kAbout: ShowAbout(); break;
    case cmd::kContinue: SetPageState(Ready); break;
    case cmd::kInstallAgain: InstallAgain(); break;
    case cmd::kSearchAgain: SearchAgain(); break;
    case cmd::kTabInstall:
    case cmd::kTabApps:
    case cmd::kTabTasks: SwitchTab(LOWORD(wParam)); break;
    default: handled = false; break;
    }
    return 0;
}

void CMainDlg::SwitchTab(int tab) {
    for (auto& button : tabBar_)
        if (button.Id() != tab) button.SetSelected(false);
    if (tab == cmd::kTabInstall) {
        constructionText_.SetVisible(false);
        SetPageState(pageState_);
    } else {
        HidePageControls();
        constructionText_.SetVisible(true);
    }
    for (auto& button : tabBar_) button.Invalidate();
    RedrawDropArea();
}

void CMainDlg::ShowAbout() {
    const std::wstring text = std::wstring(L"感谢关注Mivora Box Assistant！\r\n") + MIVORA_ABOUT_THANKS +
                              L"\r\n产品讨论QQ群：" + MIVORA_DISCUSSION_GROUP;
    MessageBoxW(hwnd_, text.c_str(), L"", MB_OK);
}

bool CMainDlg::PreTranslateMessage(MSG& msg) {
    const UINT m = msg.message;
    if (m >= WM_MOUSEFIRST && m <= 0x20E) {
        if (HWND tip = manager_.ToolTipWindow()) SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    if (m == WM_MOUSEWHEEL) {
        POINT at{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
        HWND under = WindowFromPoint(at);
        if (under && IsChild(hwnd_, under)) msg.hwnd = under;
        return false;
    }
    if ((m >= WM_KEYFIRST && m <= 0x109) || (m >= WM_MOUSEFIRST && m <= 0x20E))
        return IsDialogMessageW(hwnd_, &msg) != FALSE;
    return false;
}

}  // namespace ui
