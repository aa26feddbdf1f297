// The main window's frame: its controls, its place and size, the tabs, dragging, the forum area,
// the About box and the message filter.
#include "ui/main/main_dlg.h"

#include <shellapi.h>

#include "adb/shell_mgr.h"
#include "product_info.h"
#include "skin_art.h"
#include "ui/main/pages.h"
#include "ui/skin/paint/skin_resources.h"
#include "update/file_version.h"
#include "win/app_module.h"

namespace ui {

namespace {

// No caption, no sizing border, no maximise box; shown in the task bar.
constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
constexpr int kWidth = 900, kHeight = 600;
// The area that opens the product forum.
constexpr RECT kForumArea{737, 47, 890, 97};
constexpr int kTabsLeft = 200, kTabsTop = 20;
// The task bar and Alt-Tab show the window by this title (not drawn: the window has no caption)
// and by the class's icon.
constexpr const wchar_t* kTitle = L"Mivora Box Assistant";

skin::CSomBitmap* Art(int number) { return skin::Skin()->Bitmap(number); }

// 900 x 600, centred in the work area of the monitor.
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

CMainDlg::CMainDlg() = default;

HWND CMainDlg::CreateMainWindow() {
    // Made at its final place and size: a visible window that only gets its size while it is being
    // created is never drawn under Wine.
    const HWND window = Create(nullptr, CentredRect(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)), kTitle,
                               kStyle, kExStyle);
    // The window's own icons too: what the shell asks the window for (WM_GETICON) is not the class's.
    if (window) {
        SendMessageW(window, WM_SETICON, ICON_BIG, static_cast<LPARAM>(GetClassLongPtrW(window, GCLP_HICON)));
        SendMessageW(window, WM_SETICON, ICON_SMALL, static_cast<LPARAM>(GetClassLongPtrW(window, GCLP_HICONSM)));
    }
    return window;
}

LRESULT CMainDlg::OnCreate(UINT, WPARAM, LPARAM, bool&) {
    if (win::MessageLoop* loop = win::Module().GetMessageLoop()) loop->AddMessageFilter(this);
    controls_.SetBackdrop(Art(skin::art::kWindow));
    CreateFrameControls();
    // The buttons' tooltips ("关闭", "最小化", "关于") show where a user expects them.
    controls_.AttachToolTipWindow(hwnd_);

    // Centred on the monitor the window is on; the frame and the pages are laid out with the size.
    const RECT place = CentredRect(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST));
    SetWindowPos(hwnd_, nullptr, place.left, place.top, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutFrame(kWidth);

    adb::CShellMgr::Instance()->SetNotifyWindow(hwnd_);
    // The first search, no different from a search again, starts once the first page is on the
    // screen (a timer's message comes after the window's first paint): the scan's hundreds of
    // connects would otherwise hold up that paint.
    SetTimer(hwnd_, kFirstSearchTimer, 0, nullptr);
    return 0;
}

// Registration order is z-order: the device area and the frame's buttons, the pages, the tabs.
void CMainDlg::CreateFrameControls() {
    deviceArea_.Create(controls_, DeviceArea::Controls());

    const uint32_t shown = skin::kSomVisible | skin::kSomAutoSize;
    const struct {
        skin::CSomWndTipImpl<skin::CSomButton3>& button;
        int id;
        int face;
        const wchar_t* tip;
    } buttons[] = {{closeButton_, cmd::kClose, skin::art::kClose, L"关闭"},
                   {minimizeButton_, cmd::kMinimize, skin::art::kMinimise, L"最小化"},
                   {aboutButton_, cmd::kAbout, skin::art::kAbout, L"关于"}};
    for (const auto& b : buttons) {
        b.button.SetFaceBitmap(Art(b.face));
        b.button.SetTipText(b.tip);
        b.button.Create(&controls_, nullptr, 0, 0, 0, 0, 0, b.id, shown);
    }

    installPage_.Create(controls_, InstallPage::Controls());
    constructionPage_.Create(controls_, ConstructionPage::Controls());
    appsPage_.Create(hwnd_, controls_);

    const struct {
        int id;
        int icon;
        const wchar_t* caption;
    } tabs[] = {{cmd::kTabInstall, skin::art::kTabInstall, L"安装应用"},
                {cmd::kTabApps, skin::art::kTabApps, L"应用管理"},
                {cmd::kTabTasks, skin::art::kTabTasks, L"任务管理"}};
    for (size_t i = 0; i < tabBar_.size(); ++i) {
        tabBar_[i].SetIcon(Art(tabs[i].icon), 0);
        tabBar_[i].SetCaption(tabs[i].caption);
        tabBar_[i].Create(&controls_, nullptr, 0, 0, 0, 0, 0, tabs[i].id, shown);
    }
    tabBar_[0].SetSelected(true);
}

LRESULT CMainDlg::OnDestroy(UINT, WPARAM, LPARAM, bool&) {
    if (win::MessageLoop* loop = win::Module().GetMessageLoop()) loop->RemoveMessageFilter(this);
    return 0;
}

LRESULT CMainDlg::OnSize(UINT, WPARAM wParam, LPARAM lParam, bool&) {
    if (wParam != SIZE_MINIMIZED) {
        LayOutFrame(LOWORD(lParam));
        ShowPages();
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    return 0;
}

int CMainDlg::ClientWidth() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return client.right;
}

void CMainDlg::LayOutFrame(int width) {
    // The three small buttons stand edge to edge at the top right.
    const int margin = IsZoomed(hwnd_) ? 2 : 6;
    const int closeX = width - closeButton_.Width() - margin;
    closeButton_.SetWndPos(closeX, 1);
    const int minimizeX = closeX - closeButton_.Width();
    minimizeButton_.SetWndPos(minimizeX, 1);
    aboutButton_.SetWndPos(minimizeX - minimizeButton_.Width(), 1);
    for (size_t i = 0; i < tabBar_.size(); ++i)
        tabBar_[i].SetWndPos(kTabsLeft + static_cast<int>(i) * tabBar_[i].Width(), kTabsTop);
}

LRESULT CMainDlg::OnTab(WORD, WORD tab, HWND, bool&) {
    // The clicked tab selected itself; the others lose their mark.
    for (auto& button : tabBar_)
        if (button.Id() != tab) button.SetSelected(false);
    selectedTab_ = tab;
    ShowPages();
    return 0;
}

LRESULT CMainDlg::OnClose(UINT, WPARAM, LPARAM, bool&) {
    CloseProgram();
    return 0;
}

LRESULT CMainDlg::OnCloseCommand(WORD, WORD, HWND, bool&) {
    CloseProgram();
    return 0;
}

void CMainDlg::CloseProgram() {
    DestroyWindow(hwnd_);
    PostQuitMessage(0);
}

LRESULT CMainDlg::OnMinimize(WORD, WORD, HWND, bool&) {
    ShowWindow(hwnd_, SW_MINIMIZE);
    return 0;
}

LRESULT CMainDlg::OnAbout(WORD, WORD, HWND, bool&) {
    // The version, as the program file's version block says it, shows which one runs after an upgrade.
    const std::wstring text = std::wstring(L"感谢关注Mivora Box Assistant！\r\n") + MIVORA_ABOUT_THANKS +
                              L"\r\n产品讨论QQ群：" + MIVORA_DISCUSSION_GROUP + L"\r\n版本：" +
                              update::ProgramVersionText();
    MessageBoxW(hwnd_, text.c_str(), L"", MB_OK);
    return 0;
}

LRESULT CMainDlg::OnSetCursor(UINT, WPARAM, LPARAM, bool& handled) {
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(hwnd_, &cursor);
    if (!PtInRect(&kForumArea, cursor)) {
        handled = false;
        return 0;
    }
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

LRESULT CMainDlg::OnLButtonDown(UINT, WPARAM, LPARAM lParam, bool&) {
    const POINT down{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    // Dragging by any free spot; returns when the button is released.
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    if (PtInRect(&kForumArea, down)) ShellExecuteW(hwnd_, L"open", MIVORA_FORUM_URL, nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
}

bool CMainDlg::PreTranslateMessage(MSG& msg) {
    const UINT m = msg.message;
    const bool mouse = m >= WM_MOUSEFIRST && m <= WM_MOUSEHWHEEL;
    if (mouse) {
        if (HWND tip = controls_.ToolTipWindow()) SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    if (m == WM_MOUSEWHEEL) {
        POINT at{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
        HWND under = WindowFromPoint(at);
        if (under && IsChild(hwnd_, under)) msg.hwnd = under;
        return false;
    }
    if ((m >= WM_KEYFIRST && m <= WM_UNICHAR) || mouse) return IsDialogMessageW(hwnd_, &msg) != FALSE;
    return false;
}

}  // namespace ui
