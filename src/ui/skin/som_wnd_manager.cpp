#include "ui/skin/som_wnd_manager.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "ui/skin/control_host.h"

namespace skin {

namespace {

POINT ToControl(const CSomWnd* wnd, POINT point) {
    return {point.x - wnd->Bounds().left, point.y - wnd->Bounds().top};
}

POINT MessagePoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

bool CSomWndManager::ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                          LRESULT& result) {
    // The last message of a window must not bind the manager again after WM_DESTROY unbound it:
    // the host object may create a new window later.
    if (!host_ && msg != WM_NCDESTROY) {
        host_ = hwnd;
        SetTimer(hwnd, kTickTimer, kTickMilliseconds, nullptr);
    }
    result = 0;
    switch (msg) {
    case WM_DESTROY:
        OnHostDestroyed();
        return false;
    case WM_SETREDRAW:
        redraw_ = wParam != 0;
        return false;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        OnPaint(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_SETCURSOR:
        return OnSetCursor(result);
    case WM_MOUSEMOVE:
        return OnMouseMove(MessagePoint(lParam), result);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return OnButton(msg, MessagePoint(lParam), result);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged();
    case WM_TIMER:
        if (wParam != kTickTimer) return false;
        OnTick();
        return true;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    default:
        return false;
    }
}

void CSomWndManager::OnHostDestroyed() {
    KillTimer(host_, kTickTimer);
    if (CSomWnd* hover = std::exchange(hover_, nullptr)) hover->OnMouseLeave();
    if (CSomWnd* capture = std::exchange(capture_, nullptr)) capture->OnCaptureLost();
    for (size_t i = 0; i < controls_.size(); ++i) {
        CSomWnd* wnd = controls_[i];
        wnd->OnDestroy();
        UnregisterTips(wnd);
        wnd->Detach();
    }
    controls_.clear();
    // The tooltip window went with its owner; a window made later must not reach its old handle.
    AttachToolTip(nullptr, nullptr);
    redraw_ = immediate_ = true;
    host_ = nullptr;
}

void CSomWndManager::OnPaint(HDC given) {
    PAINTSTRUCT paint{};
    HDC dc = given ? given : BeginPaint(host_, &paint);
    RECT area = paint.rcPaint;
    // Painting clips each control out of the context: a caller's context gets its clip back.
    const int saved = given ? SaveDC(given) : 0;
    if (given) GetClipBox(given, &area);
    PaintBackground(dc, &area);
    PaintWnds(dc, area);
    if (given)
        RestoreDC(given, saved);
    else
        EndPaint(host_, &paint);
}

bool CSomWndManager::OnSetCursor(LRESULT& result) {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(host_, &cursor);
    CSomWnd* target = capture_ ? capture_ : HitTest(cursor);
    if (!target) return false;
    result = target->OnSetCursor(ToControl(target, cursor));
    return result != 0;
}

bool CSomWndManager::OnMouseMove(POINT point, LRESULT& result) {
    if (CSomWnd* holder = capture_) {
        const bool inside = PtInRect(&holder->Bounds(), point);
        if (!inside && hover_ == holder) {
            hover_ = nullptr;
            holder->OnMouseLeave();
        } else if (inside && !hover_) {
            hover_ = holder;
            holder->OnMouseEnter(ToControl(holder, point));
        }
        result = holder->OnMouseMove(ToControl(holder, point));
        return true;
    }
    CSomWnd* target = HitTest(point);
    if (target != hover_) {
        if (CSomWnd* old = std::exchange(hover_, target)) old->OnMouseLeave();
        if (!target) return true;
        target->OnMouseEnter(ToControl(target, point));
    }
    // The host's own mouse-move handling runs too.
    if (target) target->OnMouseMove(ToControl(target, point));
    return false;
}

bool CSomWndManager::OnButton(UINT msg, POINT point, LRESULT& result) {
    auto deliver = [msg, point](CSomWnd* wnd) {
        const POINT local = ToControl(wnd, point);
        if (msg == WM_LBUTTONDOWN) return wnd->OnLButtonDown(local);
        if (msg == WM_LBUTTONUP) return wnd->OnLButtonUp(local);
        return wnd->OnLButtonDblClk(local);
    };
    if (capture_) {
        result = deliver(capture_);
        return true;
    }
    CSomWnd* target = HitTest(point);
    return target && deliver(target);
}

bool CSomWndManager::OnCaptureChanged() {
    CSomWnd* holder = std::exchange(capture_, nullptr);
    if (!holder) return false;
    holder->OnCaptureLost();
    return true;
}

void CSomWndManager::OnTick() {
    if (hover_ && !capture_ && !PointerOverClient(host_)) std::exchange(hover_, nullptr)->OnMouseLeave();
    // By index: a control may leave the list while it is ticked.
    for (size_t i = 0; i < controls_.size(); ++i) controls_[i]->OnTick();
}

bool CSomWndManager::OnNotify(const NMHDR* header) {
    if (!header || header->code != TTN_GETDISPINFOW) return false;
    auto* request = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
    if (request->uFlags & TTF_IDISHWND) return false;
    if (const TipRegion* region = FindTip(static_cast<int>(header->idFrom)))
        region->wnd->OnGetTipText(region->code, request);
    return true;
}

CSomWnd* CSomWndManager::HitTest(POINT point) const {
    for (CSomWnd* wnd : controls_) {
        if (wnd->IsVisible() && wnd->IsEnabled() && PtInRect(&wnd->Bounds(), point)) return wnd;
    }
    return nullptr;
}

void CSomWndManager::AddWnd(CSomWnd* wnd) { controls_.push_back(wnd); }

void CSomWndManager::RemoveWnd(CSomWnd* wnd) {
    ForgetControl(host_, capture_, hover_, wnd);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), wnd), controls_.end());
}

void CSomWndManager::SetCapture(CSomWnd* wnd) { TakeCapture(host_, capture_, wnd); }

void CSomWndManager::ReleaseCapture(CSomWnd* wnd) { GiveUpCapture(host_, capture_, wnd); }

LRESULT CSomWndManager::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return host_ ? ::SendMessageW(host_, msg, wParam, lParam) : 0;
}

LRESULT CSomWndManager::Notify(CSomWnd* wnd, int code, int id) {
    const WPARAM command = MAKEWPARAM(static_cast<WORD>(id & 0xFFFF), static_cast<WORD>(code));
    return SendMessage(WM_COMMAND, command, reinterpret_cast<LPARAM>(wnd));
}

BOOL CSomWndManager::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return host_ ? ::PostMessageW(host_, msg, wParam, lParam) : FALSE;
}

int CSomWndManager::AddTip(CSomWnd* wnd, int code, const RECT* rect) { return RegisterTip(wnd, code, rect); }

void CSomWndManager::RemoveTips(CSomWnd* wnd) { UnregisterTips(wnd); }

void CSomWndManager::SuspendImmediatePaint() { immediate_ = false; }

void CSomWndManager::ResumeImmediatePaint() {
    immediate_ = true;
    if (redraw_ && host_) UpdateWindow(host_);
}

}  // namespace skin
