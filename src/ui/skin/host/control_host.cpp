#include "ui/skin/host/control_host.h"

#include <windowsx.h>

#include <utility>

#include "ui/skin/host/paint_back_buffer.h"

namespace skin {

namespace {

POINT MessagePoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

bool IsLeftButton(UINT msg) { return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_LBUTTONDBLCLK; }

// A left-button message for a control; true when the control consumed it.
bool DeliverButton(CSomWnd& wnd, UINT msg, POINT local) {
    if (msg == WM_LBUTTONDOWN) return wnd.OnLButtonDown(local);
    if (msg == WM_LBUTTONUP) return wnd.OnLButtonUp(local);
    return wnd.OnLButtonDblClk(local);
}

// Whether the pointer is over the window's client area and not over some other window.
bool PointerOverClient(HWND window) {
    POINT screen{};
    GetCursorPos(&screen);
    POINT client = screen;
    ScreenToClient(window, &client);
    RECT area{};
    GetClientRect(window, &area);
    return PtInRect(&area, client) && WindowFromPoint(screen) == window;
}

}  // namespace

bool CSomWndHost::ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // The last message of a window must not bind the host again after WM_DESTROY unbound it: the
    // host object may serve a new window later.
    if (!host_ && msg != WM_NCDESTROY) {
        host_ = hwnd;
        SetTimer(hwnd, kTickTimer, kTickMilliseconds, nullptr);
    }
    result = 0;
    return RouteMessage(hwnd, msg, wParam, lParam, result);
}

LRESULT CSomWndHost::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
    KillTimer(host_, kTickTimer);
    if (CSomWnd* hover = std::exchange(hover_, nullptr)) hover->OnMouseLeave();
    if (CSomWnd* capture = std::exchange(capture_, nullptr)) capture->OnCaptureLost();
    DetachWnds();
    // The tooltip window went with its owner; a window made later must not reach its old handle.
    ForgetAllTips();
    AttachToolTip(nullptr, nullptr);
    redraw_ = immediate_ = true;
    host_ = nullptr;
    handled = false;  // the window's own handler runs too
    return 0;
}

LRESULT CSomWndHost::OnSetRedraw(UINT, WPARAM wParam, LPARAM, bool& handled) {
    redraw_ = wParam != 0;
    handled = false;
    return 0;
}

LRESULT CSomWndHost::OnPaint(UINT, WPARAM wParam, LPARAM, bool&) {
    if (auto given = reinterpret_cast<HDC>(wParam)) {
        RECT area{};
        GetClipBox(given, &area);
        // Painting clips each control out of the context: a caller's context gets its clip back.
        const int saved = SaveDC(given);
        PaintArea(given, area);
        RestoreDC(given, saved);
        return 0;
    }
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(host_, &paint);
    PaintArea(dc, paint.rcPaint);
    EndPaint(host_, &paint);
    return 0;
}

LRESULT CSomWndHost::OnSetCursor(UINT, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = false;
    // Only the host's own client area: over a child window, the child's cursor is the child's.
    if (reinterpret_cast<HWND>(wParam) != host_ || LOWORD(lParam) != HTCLIENT) return 0;
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(host_, &cursor);
    CSomWnd* target = capture_ ? capture_ : WndAt(cursor);
    if (!target) return 0;
    handled = target->OnSetCursor(ToWnd(*target, cursor));
    return handled;
}

LRESULT CSomWndHost::OnMouse(UINT msg, WPARAM, LPARAM lParam, bool& handled) {
    const POINT point = MessagePoint(lParam);
    if (capture_) return ToCaptureHolder(msg, point);
    CSomWnd* target = WndAt(point);
    if (msg == WM_MOUSEMOVE) {
        OnPointerMoved(point);
        ChangeHover(target, point);
        if (target) target->OnMouseMove(ToWnd(*target, point));
        handled = false;  // the window's own handling of the move runs too
        return 0;
    }
    if (IsLeftButton(msg) && target && DeliverButton(*target, msg, ToWnd(*target, point))) return 0;
    handled = OnButtonBesideControls(msg, point, target);
    return 0;
}

// While a control holds the capture, it alone sees the pointer, inside it or not.
LRESULT CSomWndHost::ToCaptureHolder(UINT msg, POINT point) {
    CSomWnd& holder = *capture_;
    const POINT local = ToWnd(holder, point);
    if (msg == WM_MOUSEMOVE) {
        const RECT own{0, 0, holder.Width(), holder.Height()};
        const bool inside = PtInRect(&own, local);
        if (!inside && hover_ == &holder) {
            hover_ = nullptr;
            holder.OnMouseLeave();
        } else if (inside && !hover_) {
            hover_ = &holder;
            holder.OnMouseEnter(local);
        }
        return holder.OnMouseMove(local);
    }
    return IsLeftButton(msg) && DeliverButton(holder, msg, local);
}

void CSomWndHost::ChangeHover(CSomWnd* target, POINT point) {
    if (target == hover_) return;
    if (CSomWnd* old = std::exchange(hover_, target)) old->OnMouseLeave();
    if (target) target->OnMouseEnter(ToWnd(*target, point));
}

LRESULT CSomWndHost::OnCaptureChanged(UINT, WPARAM, LPARAM, bool& handled) {
    CSomWnd* holder = std::exchange(capture_, nullptr);
    handled = holder != nullptr;
    if (holder) holder->OnCaptureLost();
    return 0;
}

LRESULT CSomWndHost::OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled) {
    if (wParam != kTickTimer) {
        handled = false;
        return 0;
    }
    // No mouse message tells that the pointer left the window straight from a control.
    if (FollowsPointer() && !capture_ && !PointerOverClient(host_)) {
        if (CSomWnd* old = std::exchange(hover_, nullptr)) old->OnMouseLeave();
        OnPointerLeft();
    }
    ForEachWnd([](CSomWnd& wnd) { wnd.OnTick(); });
    return 0;
}

LRESULT CSomWndHost::OnGetTipText(int, NMHDR* header, bool& handled) {
    auto* request = reinterpret_cast<NMTTDISPINFOW*>(header);
    if (request->uFlags & TTF_IDISHWND) {
        handled = false;
        return 0;
    }
    if (const TipRegion* region = FindTip(static_cast<int>(header->idFrom)))
        region->wnd->OnGetTipText(region->code, request);
    return 0;
}

bool CSomWndHost::WndArea(const CSomWnd& wnd, RECT& area) const {
    POINT origin{};
    if (!WndOrigin(wnd, origin)) return false;
    area = wnd.Bounds();
    OffsetRect(&area, origin.x, origin.y);
    return true;
}

RECT CSomWndHost::ToolArea(const CSomWnd& wnd) const {
    RECT area{};
    return WndArea(wnd, area) ? area : wnd.Bounds();
}

POINT CSomWndHost::ToWnd(const CSomWnd& wnd, POINT point) const {
    RECT area{};
    if (!WndArea(wnd, area)) return point;
    return {point.x - area.left, point.y - area.top};
}

void CSomWndHost::RemoveWnd(CSomWnd* wnd) {
    if (capture_ == wnd) {
        ReleaseCapture(wnd);
        // Without the platform capture no WM_CAPTURECHANGED ended the press above.
        if (capture_ == wnd) {
            capture_ = nullptr;
            wnd->OnCaptureLost();
        }
    }
    if (hover_ == wnd) {
        hover_ = nullptr;
        wnd->OnMouseLeave();
    }
    UnlistWnd(*wnd);
}

void CSomWndHost::DropPointerOf(const void* ownerItem) {
    if (hover_ && hover_->OwnerItem() == ownerItem) hover_ = nullptr;
    if (capture_ && capture_->OwnerItem() == ownerItem) {
        capture_ = nullptr;
        if (host_ && GetCapture() == host_) ::ReleaseCapture();
    }
}

void CSomWndHost::SetCapture(CSomWnd* wnd) {
    CSomWnd* previous = std::exchange(capture_, wnd);
    if (previous && previous != wnd) previous->OnCaptureLost();
    if (host_ && ::GetCapture() != host_) ::SetCapture(host_);
}

// The holder's press ends with the WM_CAPTURECHANGED that follows the release, or at once when the
// host never had the platform capture.
void CSomWndHost::ReleaseCapture(CSomWnd* wnd) {
    if (!wnd || wnd != capture_) return;
    if (host_ && ::GetCapture() == host_) {
        ::ReleaseCapture();
        return;
    }
    capture_ = nullptr;
    wnd->OnCaptureLost();
}

LRESULT CSomWndHost::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND target = host_ ? MessageTarget() : nullptr;
    return target ? ::SendMessageW(target, msg, wParam, lParam) : 0;
}

BOOL CSomWndHost::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND target = host_ ? MessageTarget() : nullptr;
    return target ? ::PostMessageW(target, msg, wParam, lParam) : FALSE;
}

LRESULT CSomWndHost::Notify(CSomWnd* wnd, int code, int id) {
    const WPARAM command = MAKEWPARAM(static_cast<WORD>(id & 0xFFFF), static_cast<WORD>(code));
    return SendMessage(WM_COMMAND, command, reinterpret_cast<LPARAM>(wnd));
}

bool CSomWndHost::Paints() const { return redraw_ && host_ && IsWindowVisible(host_); }

void CSomWndHost::InvalidateArea(const CSomWnd& wnd) {
    RECT area{};
    if (Paints() && WndArea(wnd, area)) InvalidateRect(host_, &area, FALSE);
}

void CSomWndHost::SetWndRect(CSomWnd* wnd, int x, int y, int cx, int cy) {
    const RECT old = wnd->Bounds();
    const bool moved = old.left != x || old.top != y;
    const bool sized = old.right - old.left != cx || old.bottom - old.top != cy;
    if (!moved && !sized) return;
    const bool visible = wnd->IsVisible();
    if (visible) InvalidateArea(*wnd);
    wnd->SetBounds({x, y, x + cx, y + cy});
    if (moved) wnd->OnMove(x, y);
    if (sized) wnd->OnSize(cx, cy);
    if (!visible) return;
    InvalidateArea(*wnd);  // where the control ended up, should its hooks have moved it
    if (immediate_ && Paints()) UpdateWindow(host_);
}

void CSomWndHost::SetWndSize(CSomWnd* wnd, int cx, int cy) {
    SetWndRect(wnd, wnd->Bounds().left, wnd->Bounds().top, cx, cy);
}

void CSomWndHost::SetWndPos(CSomWnd* wnd, int x, int y) { SetWndRect(wnd, x, y, wnd->Width(), wnd->Height()); }

void CSomWndHost::InvalidateWnd(CSomWnd* wnd, const RECT* rect, bool force, int part) {
    // A hidden control is repainted only when forced, to show what lies where it was. A window that
    // is not on the screen is painted whole when it shows.
    if (!Paints() || (!wnd->IsVisible() && !force)) return;
    RECT area{};
    if (!WndArea(*wnd, area)) return;
    if (rect) {
        RECT shifted = *rect;
        OffsetRect(&shifted, area.left, area.top);
        if (!IntersectRect(&area, &shifted, &area)) return;
    }
    if (!immediate_) {
        // Painted by the next WM_PAINT, which draws everything the update region lets through.
        InvalidateRect(host_, &area, FALSE);
        return;
    }
    HDC dc = GetDC(host_);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    RepaintNow(dc, *wnd, area, part);
    ReleaseDC(host_, dc);
}

void CSomWndHost::PaintOver(HDC dc, CSomWnd& wnd, const RECT& shown, int limit, int part, bool paintControl,
                            bool paintBackground, const std::function<void(HDC)>& background) {
    HDC buffer = PaintBackBuffer::DC();
    if (paintControl && paintBackground && buffer && PaintBackBuffer::Fits(shown)) {
        // In the buffer, the control's top-left corner is (0, 0); what composes the background
        // there draws only what shows.
        const int saved = SaveDC(buffer);
        SetViewportOrgEx(buffer, -shown.left, -shown.top, nullptr);
        IntersectClipRect(buffer, shown.left, shown.top, shown.right, shown.bottom);
        background(buffer);
        RestoreDC(buffer, saved);
        wnd.Paint(buffer, limit, part);
        BitBlt(dc, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, buffer, 0, 0, SRCCOPY);
        return;
    }
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
    if (paintBackground) background(dc);
    if (paintControl) {
        OffsetViewportOrgEx(dc, shown.left, shown.top, nullptr);
        wnd.Paint(dc, limit, part);
    }
    RestoreDC(dc, saved);
}

void CSomWndHost::FillClassBackground(HWND window, HDC dc, const RECT* rect) {
    auto brush = window ? reinterpret_cast<HBRUSH>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND)) : nullptr;
    if (!brush) return;
    RECT area{};
    if (rect)
        area = *rect;
    else
        GetClipBox(dc, &area);
    FillRect(dc, &area, brush);
}

int CSomWndHost::AddTip(CSomWnd* wnd, int code, const RECT* rect) { return RegisterTip(wnd, code, rect); }

void CSomWndHost::RemoveTips(CSomWnd* wnd) { UnregisterTips(wnd); }

void CSomWndHost::SuspendImmediatePaint() { immediate_ = false; }

void CSomWndHost::ResumeImmediatePaint() {
    immediate_ = true;
    if (Paints()) UpdateWindow(host_);
}

}  // namespace skin
