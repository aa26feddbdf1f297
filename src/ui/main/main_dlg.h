#pragma once
// The program's one top-level window: a borderless skinned 900 x 600 pop-up whose surface is drawn by
// windowless controls. Both workers report to it; it keeps the boxes found, the current box and the
// install batch, and owns the device picker.
#include <windows.h>

#include <array>

#include "adb/command_set.h"
#include "adb/shell_records.h"
#include "base/program_messages.h"
#include "discovery/find_wifi_android.h"
#include "ui/main/box_registry.h"
#include "ui/main/device_picker.h"
#include "ui/main/install_queue.h"
#include "ui/skin/button/lf_buttons.h"
#include "ui/skin/button/som_button3.h"
#include "ui/skin/dialog/som_resizable_wnd.h"
#include "ui/skin/host/som_wnd_manager.h"
#include "ui/skin/image/som_image_wnd.h"
#include "ui/skin/text/som_text_wnd.h"
#include "ui/skin/tooltip/som_wnd_tip_impl.h"
#include "win/message_loop.h"
#include "win/reflection.h"
#include "win/window.h"

namespace ui {

enum PageState { NoBox = 0, Searching = 1, Identifying = 2, Ready = 3, Installing = 4, Done = 5 };

class CMainDlg : public win::WindowImpl<CMainDlg>,
                 public skin::CSomResizableWnd<CMainDlg, 790, 600>,
                 public win::MessageFilter {
public:
    static const wchar_t* WindowClassName() { return L"ClientFrameXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX"; }
    static UINT WindowClassStyle() { return CS_DBLCLKS; }
    static HBRUSH WindowClassBackground() { return reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1); }

    CMainDlg();
    HWND CreateMainWindow();

    bool PreTranslateMessage(MSG& msg) override;

    WIN_BEGIN_MSG_MAP()
        WIN_CHAIN_MSG_MAP_PART(ProcessMinimumSize)
        WIN_CHAIN_MSG_MAP_MEMBER(manager_)
        WIN_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WIN_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WIN_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WIN_MESSAGE_HANDLER(WM_CLOSE, OnClose)
        WIN_MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        WIN_MESSAGE_HANDLER(WM_TIMER, OnTimer)
        WIN_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        WIN_MESSAGE_HANDLER(WM_DROPFILES, OnDropFiles)
        WIN_MESSAGE_HANDLER(discovery::WM_SCAN_RESULT, OnScanResult)
        WIN_MESSAGE_HANDLER(adb::WM_SHELL_RESULT, OnShellResult)
        WIN_MESSAGE_HANDLER(base::WM_BOX_SELECTED, OnBoxSelected)
        WIN_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WIN_REFLECT_NOTIFICATIONS()
    WIN_END_MSG_MAP()

    // Read by in-process tests; the window itself needs no accessors.
    PageState State() const { return pageState_; }
    const BoxRegistry& Boxes() const { return boxes_; }
    const InstallQueue& Queue() const { return queue_; }
    const skin::CLFPanelButton& DevicePanel() const { return devicePanel_; }

private:
    static constexpr UINT_PTR kSearchTimer = 1001;
    static constexpr UINT kSearchMilliseconds = 20000;

    // The window's control manager draws the skinned background under the controls.
    class Manager : public skin::CSomWndManager {
    public:
        explicit Manager(CMainDlg& owner) : owner_(owner) {}
        void PaintBackground(HDC dc, const RECT* rect) override { owner_.PaintBackground(dc, rect); }

    private:
        CMainDlg& owner_;
    };

    // Frame (main_dlg.cpp)
    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnSize(UINT, WPARAM wParam, LPARAM lParam, bool&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, bool& handled);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM lParam, bool&);
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, bool& handled);
    void CreateControls();
    void SwitchTab(int tab);
    void ShowAbout();
    void CloseProgram();

    // Layout and background (main_dlg_layout.cpp)
    void Layout(int width);
    void PaintBackground(HDC dc, const RECT* rect);
    void PlaceCentred(skin::CSomWnd& control, int y);
    void RedrawDropArea();
    int ClientWidth() const;
    bool FirstTabSelected() const;

    // Page states (main_dlg_page.cpp)
    void SetPageState(PageState state);
    void ApplyDeviceArea(PageState state);
    void ApplyPage(PageState state);
    void HidePageControls();
    void ShowCurrentBox();
    void SearchAgain();
    LRESULT OnScanResult(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnShellResult(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnBoxSelected(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled);
    void OnConnectResult(adb::BoxAddress box, int32_t code);
    void OnModelResult(adb::BoxAddress box, const std::wstring& name);
    void OpenPicker();

    // Drops and installs (main_dlg_install.cpp)
    LRESULT OnDropFiles(UINT, WPARAM wParam, LPARAM, bool&);
    void InstallAgain();
    void InstallBatch();
    void OnInstallResult(int32_t id, int32_t code);

    Manager manager_{*this};
    CDevicePicker picker_;
    skin::CSomWndTipImpl<skin::CSomButton3> closeButton_;
    skin::CSomWndTipImpl<skin::CSomButton3> minimizeButton_;
    skin::CSomWndTipImpl<skin::CSomButton3> aboutButton_;
    std::array<skin::CLFToolBarHButton, 3> tabBar_;
    InstallQueue queue_;
    BoxRegistry boxes_;
    skin::CLFPanelButton devicePanel_;
    skin::CSomTextWnd statusTitle_;
    skin::CSomTextWnd statusAddress_;
    skin::CSomImageWnd noBoxPicture_;
    skin::CSomAnimation searchAnimation_;
    skin::CSomImageWnd waitPicture_;
    skin::CSomImageWnd readyPicture_;
    skin::CSomAnimation installAnimation_;
    skin::CSomTextWnd installText_;
    skin::CSomTextWnd constructionText_;
    skin::CSomImageWnd donePicture_;
    skin::CSomTextWnd resultLine1_;
    skin::CSomTextWnd resultLine2_;
    skin::CSomTextWnd resultLine3_;
    skin::CSomTextWnd dropHint_;
    PageState pageState_ = Searching;
    RECT forumRect_{};
    RECT dropRect_{};
};

}  // namespace ui
