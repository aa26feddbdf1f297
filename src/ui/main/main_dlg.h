#pragma once
// The program's one top-level window: a borderless skinned 900 x 600 pop-up whose surface is drawn by
// windowless controls. The window is the frame: its three small buttons, the tabs, dragging, the
// forum area and the About box. The device area and the page of the selected tab are page views
// that show what the session (the boxes, the install batch, the page state) describes; both workers
// report to the window, which hands their results to the session. It owns the device picker.
#include <windows.h>

#include <array>

#include "adb/shell_records.h"
#include "base/program_messages.h"
#include "discovery/find_wifi_android.h"
#include "ui/main/apps_page.h"
#include "ui/main/commands.h"
#include "ui/main/device_picker.h"
#include "ui/main/page_view.h"
#include "ui/main/session.h"
#include "ui/skin/button/lf_buttons.h"
#include "ui/skin/button/som_button3.h"
#include "ui/skin/dialog/som_resizable_wnd.h"
#include "ui/skin/host/som_wnd_manager.h"
#include "ui/skin/tooltip/som_wnd_tip_impl.h"
#include "win/message_loop.h"
#include "win/reflection.h"
#include "win/window.h"

namespace ui {

class CMainDlg : public win::WindowImpl<CMainDlg>,
                 public skin::CSomResizableWnd<CMainDlg, 790, 600>,
                 public win::MessageFilter,
                 private ISessionActions {
public:
    static const wchar_t* WindowClassName() { return L"ClientFrameXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX"; }
    static UINT WindowClassStyle() { return CS_DBLCLKS; }
    static HBRUSH WindowClassBackground() { return reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1); }
    // The program's icon, big and small.
    static int WindowClassIcon() { return 128; }

    CMainDlg();
    HWND CreateMainWindow();

    bool PreTranslateMessage(MSG& msg) override;

    WIN_BEGIN_MSG_MAP()
        WIN_CHAIN_MSG_MAP_PART(picker_.WatchOwner)
        WIN_CHAIN_MSG_MAP_PART(ProcessMinimumSize)
        WIN_CHAIN_MSG_MAP_MEMBER(controls_)
        WIN_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WIN_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WIN_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WIN_MESSAGE_HANDLER(WM_CLOSE, OnClose)
        WIN_MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        WIN_MESSAGE_HANDLER(WM_TIMER, OnTimer)
        WIN_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        WIN_MESSAGE_HANDLER(WM_DROPFILES, OnDropFiles)
        WIN_MESSAGE_HANDLER(base::WM_SCAN_RESULT, OnScanResult)
        WIN_MESSAGE_HANDLER(base::WM_SHELL_RESULT, OnShellResult)
        WIN_MESSAGE_HANDLER(base::WM_BOX_SELECTED, OnBoxSelected)
        WIN_COMMAND_ID_HANDLER(cmd::kClose, OnCloseCommand)
        WIN_COMMAND_ID_HANDLER(cmd::kDevicePanel, OnDevicePanel)
        WIN_COMMAND_ID_HANDLER(cmd::kMinimize, OnMinimize)
        WIN_COMMAND_ID_HANDLER(cmd::kAbout, OnAbout)
        WIN_COMMAND_ID_HANDLER(cmd::kContinue, OnContinue)
        WIN_COMMAND_ID_HANDLER(cmd::kInstallAgain, OnInstallAgain)
        WIN_COMMAND_ID_HANDLER(cmd::kSearchAgain, OnSearchAgain)
        WIN_COMMAND_ID_HANDLER(cmd::kShowReasons, OnShowReasons)
        WIN_COMMAND_ID_HANDLER(cmd::kCancelInstall, OnCancelInstall)
        WIN_COMMAND_RANGE_HANDLER(cmd::kTabInstall, cmd::kTabTasks, OnTab)
        WIN_MESSAGE_HANDLER(WM_COMMAND, OnAppsCommand)
        WIN_REFLECT_NOTIFICATIONS()
    WIN_END_MSG_MAP()

private:
    // The picker drops down under the device panel, from the window's left edge.
    static constexpr int kPickerTop = 92;
    static constexpr UINT_PTR kFirstSearchTimer = 1000;
    static constexpr UINT_PTR kSearchTimer = 1001;
    static constexpr UINT kSearchMilliseconds = 20000;

    // The frame (main_dlg.cpp)
    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnSize(UINT, WPARAM wParam, LPARAM lParam, bool&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, bool& handled);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM lParam, bool&);
    LRESULT OnCloseCommand(WORD, WORD, HWND, bool&);
    LRESULT OnMinimize(WORD, WORD, HWND, bool&);
    LRESULT OnAbout(WORD, WORD, HWND, bool&);
    LRESULT OnTab(WORD, WORD tab, HWND, bool&);
    void CreateFrameControls();
    void LayOutFrame(int width);
    void CloseProgram();
    int ClientWidth() const;

    // The session and the workers (main_dlg_session.cpp)
    LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled);
    LRESULT OnDropFiles(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnScanResult(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnShellResult(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnBoxSelected(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnDevicePanel(WORD, WORD, HWND, bool&);
    LRESULT OnContinue(WORD, WORD, HWND, bool&);
    LRESULT OnInstallAgain(WORD, WORD, HWND, bool&);
    LRESULT OnSearchAgain(WORD, WORD, HWND, bool&);
    LRESULT OnShowReasons(WORD, WORD, HWND, bool&);
    LRESULT OnCancelInstall(WORD, WORD, HWND, bool&);
    // The app tab's commands, whatever their code (its rows' links come with the row's data).
    LRESULT OnAppsCommand(UINT, WPARAM wParam, LPARAM lParam, bool& handled);
    void StartScan() override;
    void SetSearchTimer(bool running) override;
    void Connect(base::BoxAddress box) override;
    void QueryModel(base::BoxAddress box) override;
    void Install(base::BoxAddress box, const InstallItems& items, bool joining) override;
    void CancelInstalls() override;
    void UpdatePickerRow(base::BoxAddress box, const std::wstring& displayName) override;
    void ShowPages() override;

    skin::CSomWndManager controls_;
    CDevicePicker picker_;
    skin::CSomWndTipImpl<skin::CSomButton3> closeButton_;
    skin::CSomWndTipImpl<skin::CSomButton3> minimizeButton_;
    skin::CSomWndTipImpl<skin::CSomButton3> aboutButton_;
    std::array<skin::CLFToolBarHButton, 3> tabBar_;
    int selectedTab_ = cmd::kTabInstall;
    Session session_{*this};
    CPageView deviceArea_;
    CPageView installPage_;
    CPageView constructionPage_;
    CAppsPage appsPage_;
};

}  // namespace ui
