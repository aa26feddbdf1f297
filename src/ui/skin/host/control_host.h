#pragma once
// The core of every host of windowless controls, whatever window it lives in and however it lays
// its controls out: it binds to its window on the first message and runs the 100 ms pointer tick
// there, routes the pointer to the control under it (hover, capture, clicks, the cursor), answers
// the tooltip window's requests for texts, moves controls and repaints them at once or on the next
// paint, and composes transparent controls over what lies under them in the back buffer.
//
// A host only says where its controls are: CSomWndManager keeps them in a window's client area,
// the list box (CSomListBox) in the columns of its rows. The window chains the host's table first
// (WIN_CHAIN_MSG_MAP_MEMBER, or WIN_CHAIN_MSG_MAP for the list that is its own host).
#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "ui/skin/host/som_wnd.h"
#include "ui/skin/host/som_wnd_manager_interface.h"
#include "ui/skin/tooltip/tool_tip_regions.h"
#include "win/window.h"

namespace skin {

class CSomWndHost : public ISomWndManager, public CSomToolTipAdpater, public win::MessageMap {
public:
    static constexpr UINT_PTR kTickTimer = 54321;
    static constexpr UINT kTickMilliseconds = 100;

    CSomWndHost() = default;
    virtual ~CSomWndHost() = default;
    CSomWndHost(const CSomWndHost&) = delete;
    CSomWndHost& operator=(const CSomWndHost&) = delete;

    bool ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    void RemoveWnd(CSomWnd* wnd) override;
    void SetCapture(CSomWnd* wnd) override;
    void ReleaseCapture(CSomWnd* wnd) override;
    LRESULT SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT Notify(CSomWnd* wnd, int code, int id) override;
    BOOL PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetWndRect(CSomWnd* wnd, int x, int y, int cx, int cy) override;
    void SetWndSize(CSomWnd* wnd, int cx, int cy) override;
    void SetWndPos(CSomWnd* wnd, int x, int y) override;
    void InvalidateWnd(CSomWnd* wnd, const RECT* rect, bool force, int part) override;
    int AddTip(CSomWnd* wnd, int code, const RECT* rect) override;
    void RemoveTips(CSomWnd* wnd) override;
    void SuspendImmediatePaint() override;
    void ResumeImmediatePaint() override;

    HWND Host() const { return host_; }
    CSomWnd* HoverControl() const { return hover_; }
    CSomWnd* CaptureControl() const { return capture_; }

protected:
    // Where the host keeps its controls.
    virtual void UnlistWnd(CSomWnd& wnd) = 0;
    // Every control, for the tick; a control may leave while the host visits them.
    virtual void ForEachWnd(const std::function<void(CSomWnd&)>& visit) = 0;
    // The host window is going away: each control gets OnDestroy and is detached.
    virtual void DetachWnds() = 0;
    // The point of the host's client area that the control's bounds are measured from; false when
    // the control has no place now (its row left the list).
    virtual bool WndOrigin(const CSomWnd& wnd, POINT& origin) const = 0;
    // The control that takes the pointer at a client point: visible, enabled, first in z-order.
    virtual CSomWnd* WndAt(POINT point) const = 0;
    // WM_PAINT and WM_PRINTCLIENT: everything in area.
    virtual void PaintArea(HDC dc, const RECT& area) = 0;
    // A repaint request drawn at once into dc, which is clipped to area (the control's place).
    virtual void RepaintNow(HDC dc, CSomWnd& wnd, const RECT& area, int part) = 0;

    // Where the controls' messages and commands go: the host window itself by default.
    virtual HWND MessageTarget() const { return host_; }
    // Hosts that light more than their controls (the list's row under the pointer) follow the
    // pointer here, and learn when it has left the window.
    virtual bool FollowsPointer() const { return hover_ != nullptr; }
    virtual void OnPointerMoved(POINT) {}
    virtual void OnPointerLeft() {}
    // A button message that no control took (right and middle buttons, or a left button beside
    // every control): whether the host consumes it.
    virtual bool OnButtonBesideControls(UINT, POINT, CSomWnd* /*target*/) { return false; }

    // The control's place in the host's client area.
    bool WndArea(const CSomWnd& wnd, RECT& area) const;
    RECT ToolArea(const CSomWnd& wnd) const override;
    // Paints a control over what lies under it (background paints that into the dc it is given),
    // composed in the back buffer when both are painted and it fits, so that it does not flicker;
    // shown is the part of the control that shows and where the control's top-left corner goes.
    static void PaintOver(HDC dc, CSomWnd& wnd, const RECT& shown, int limit, int part, bool paintControl,
                          bool paintBackground, const std::function<void(HDC)>& background);
    // Ends hover and capture held by controls of an owner item (a list row that goes away)
    // without telling them.
    void DropPointerOf(const void* ownerItem);
    // Whether repaints reach the screen: redraw on, and the window shown.
    bool Paints() const;
    // Fills rect (null: the clip box) with the window class's background brush, if it has one.
    static void FillClassBackground(HWND window, HDC dc, const RECT* rect);

private:
    WIN_BEGIN_MSG_MAP_PART(RouteMessage)
        WIN_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WIN_MESSAGE_HANDLER(WM_SETREDRAW, OnSetRedraw)
        WIN_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WIN_MESSAGE_HANDLER(WM_PRINTCLIENT, OnPaint)
        WIN_MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        WIN_MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        WIN_MESSAGE_RANGE_HANDLER(WM_MOUSEMOVE, WM_MBUTTONDBLCLK, OnMouse)
        WIN_MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
        WIN_MESSAGE_HANDLER(WM_TIMER, OnTimer)
        WIN_NOTIFY_CODE_HANDLER(TTN_GETDISPINFOW, OnGetTipText)
    WIN_END_MSG_MAP()

    LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool& handled);
    LRESULT OnSetRedraw(UINT, WPARAM wParam, LPARAM, bool& handled);
    LRESULT OnPaint(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, bool&) { return 1; }
    LRESULT OnSetCursor(UINT, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnMouse(UINT msg, WPARAM, LPARAM lParam, bool& handled);
    LRESULT OnCaptureChanged(UINT, WPARAM, LPARAM, bool& handled);
    LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled);
    LRESULT OnGetTipText(int, NMHDR* header, bool& handled);

    LRESULT ToCaptureHolder(UINT msg, POINT point);
    void ChangeHover(CSomWnd* target, POINT point);
    POINT ToWnd(const CSomWnd& wnd, POINT point) const;
    void InvalidateArea(const CSomWnd& wnd);

    bool redraw_ = true;
    bool immediate_ = true;
    HWND host_ = nullptr;
    CSomWnd* capture_ = nullptr;
    CSomWnd* hover_ = nullptr;
};

}  // namespace skin
