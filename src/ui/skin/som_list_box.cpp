// The list's messages: pointer routing to the row controls, hover, wheel, scrolling, the tick.
#include "ui/skin/som_list_box.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "ui/skin/control_host.h"
#include "win/reflection.h"

namespace skin {

namespace {

POINT MessagePoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

bool IsRightButton(UINT msg) { return msg >= WM_RBUTTONDOWN && msg <= WM_RBUTTONDBLCLK; }
bool IsMiddleButton(UINT msg) { return msg >= WM_MBUTTONDOWN && msg <= WM_MBUTTONDBLCLK; }

bool Deliver(CSomWnd& wnd, UINT msg, POINT local, LRESULT& result) {
    switch (msg) {
    case WM_MOUSEMOVE:
        result = wnd.OnMouseMove(local);
        return result != 0;
    case WM_LBUTTONDOWN:
        return wnd.OnLButtonDown(local);
    case WM_LBUTTONUP:
        return wnd.OnLButtonUp(local);
    case WM_LBUTTONDBLCLK:
        return wnd.OnLButtonDblClk(local);
    default:  // the right and middle buttons do nothing to controls
        return true;
    }
}

}  // namespace

CSomListBox::CSomListBox() : kinds_{{ListColumn{0, 1.0f, 0, 0}}} {}

CSomListBox::~CSomListBox() {
    if (IsWindow()) DestroyWindow(hwnd_);
}

HWND CSomListBox::Create(HWND parent, const RECT& rect, UINT id, DWORD listStyle) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | LBS_OWNERDRAWFIXED |
                        LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | listStyle;
    return WindowImpl::Create(parent, rect, nullptr, style, 0, id);
}

bool CSomListBox::ProcessWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK) return OnMouse(msg, MessagePoint(lParam), result);
    if (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) return true;
    switch (msg) {
    case WM_CREATE:
        capture_ = hover_ = nullptr;
        hoverRow_ = -1;
        redraw_ = immediate_ = true;
        SetTimer(hwnd_, kTickTimer, kTickMilliseconds, nullptr);
        return false;
    case WM_DESTROY:
        OnHostDestroyed();
        return false;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            for (auto& columns : kinds_) LayOutColumns(columns, LOWORD(lParam));
            RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        }
        return false;
    case WM_SETREDRAW:
        redraw_ = wParam != 0;
        return false;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(hwnd_, &paint);
        PaintWnds(dc, paint.rcPaint);
        EndPaint(hwnd_, &paint);
        return true;
    }
    case WM_PRINTCLIENT: {
        RECT area{};
        GetClipBox(reinterpret_cast<HDC>(wParam), &area);
        PaintWnds(reinterpret_cast<HDC>(wParam), area);
        return true;
    }
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_SETCURSOR:
        return reinterpret_cast<HWND>(wParam) == hwnd_ && LOWORD(lParam) == HTCLIENT && OnSetCursor(result);
    case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return true;
    case WM_VSCROLL:
        result = OnVScroll(wParam, lParam);
        return true;
    case WM_CAPTURECHANGED:
        if (!capture_) return false;
        std::exchange(capture_, nullptr)->OnCaptureLost();
        return true;
    case WM_TIMER:
        if (wParam != kTickTimer) return false;
        OnTick();
        return true;
    case WM_NOTIFY: {
        const auto* request = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        if (request->hdr.code != TTN_GETDISPINFOW || (request->uFlags & TTF_IDISHWND)) return false;
        if (const TipRegion* region = FindTip(static_cast<int>(request->hdr.idFrom)))
            region->wnd->OnGetTipText(region->code, reinterpret_cast<NMTTDISPINFOW*>(lParam));
        return true;
    }
    case win::kReflectedBase + WM_DRAWITEM:
        OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    case win::kReflectedBase + WM_MEASUREITEM:
        if (rowHeight_ > 0) reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = rowHeight_;
        result = TRUE;
        return true;
    default:
        return false;
    }
}

bool CSomListBox::OnMouse(UINT msg, POINT point, LRESULT& result) {
    if (CSomWnd* holder = capture_) {
        if (msg == WM_MOUSEMOVE) {
            RECT bounds = holder->Bounds();
            const POINT local = ToControl(*holder, point);
            const bool inside = local.x >= 0 && local.y >= 0 && local.x < bounds.right - bounds.left &&
                                local.y < bounds.bottom - bounds.top;
            if (!inside && hover_ == holder) {
                hover_ = nullptr;
                holder->OnMouseLeave();
            } else if (inside && !hover_) {
                hover_ = holder;
                holder->OnMouseEnter(local);
            }
        }
        Deliver(*holder, msg, ToControl(*holder, point), result);
        return true;
    }
    const int item = ItemAt(point);
    CSomWnd* target = item >= 0 ? ControlAt(item, point) : nullptr;
    if (msg == WM_MOUSEMOVE) {
        SetHoverRow(item);
        ChangeHover(target, point);
    }
    if (IsMiddleButton(msg) || (target && IsRightButton(msg))) return true;
    if (target && Deliver(*target, msg, ToControl(*target, point), result)) return true;
    if (msg != WM_LBUTTONDOWN) return false;
    // Below the last item a press changes nothing.
    if (item < 0) return true;
    NotifyRowClicked(item);
    return false;
}

void CSomListBox::ChangeHover(CSomWnd* target, POINT point) {
    if (target == hover_) return;
    if (CSomWnd* old = std::exchange(hover_, target)) old->OnMouseLeave();
    if (target) target->OnMouseEnter(ToControl(*target, point));
}

void CSomListBox::SetHoverRow(int item) {
    if (!hoverHighlight_ || item == hoverRow_) return;
    const int old = std::exchange(hoverRow_, item);
    for (int changed : {old, item}) {
        if (changed < 0) continue;
        const RECT rect = ItemRect(changed);
        InvalidateRect(hwnd_, &rect, FALSE);
    }
    UpdateWindow(hwnd_);
}

bool CSomListBox::OnSetCursor(LRESULT& result) {
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(hwnd_, &point);
    CSomWnd* target = capture_;
    if (!target) {
        const int item = ItemAt(point);
        target = item >= 0 ? ControlAt(item, point) : nullptr;
    }
    if (!target) return false;
    result = target->OnSetCursor(ToControl(*target, point));
    return result != 0;
}

void CSomListBox::NotifyRowClicked(int item) {
    NMLISTROWCLICK click{};
    click.header.hwndFrom = hwnd_;
    click.header.idFrom = GetDlgCtrlID(hwnd_);
    click.header.code = static_cast<UINT>(kListRowClicked);
    click.item = item;
    ::SendMessageW(GetParent(hwnd_), WM_NOTIFY, click.header.idFrom, reinterpret_cast<LPARAM>(&click));
}

void CSomListBox::OnWheel(int delta) {
    const int lines = wheel_.Add(delta);
    for (int i = 0; i < (lines < 0 ? -lines : lines); ++i)
        ::SendMessageW(hwnd_, WM_VSCROLL, lines > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
}

LRESULT CSomListBox::OnVScroll(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefaultProcessing(WM_VSCROLL, wParam, lParam);
    ::SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), kListScrolled),
                   reinterpret_cast<LPARAM>(hwnd_));
    return result;
}

void CSomListBox::OnTick() {
    if ((hover_ || hoverRow_ >= 0) && !capture_ && !PointerOverClient(hwnd_)) {
        if (CSomWnd* old = std::exchange(hover_, nullptr)) old->OnMouseLeave();
        SetHoverRow(-1);
    }
    for (int item = 0; item < RowCount(); ++item) {
        ListRow* row = RowAt(item);
        if (!row) continue;
        // By index: a control may leave its row while it is ticked.
        for (size_t i = 0; i < row->controls.size(); ++i) row->controls[i]->OnTick();
    }
}

void CSomListBox::OnHostDestroyed() {
    KillTimer(hwnd_, kTickTimer);
    if (CSomWnd* old = std::exchange(hover_, nullptr)) old->OnMouseLeave();
    if (CSomWnd* old = std::exchange(capture_, nullptr)) old->OnCaptureLost();
    DeleteAllRows();
}

void CSomListBox::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;  // the focus of an empty list
    DrawItem(item.hDC, static_cast<int>(item.itemID), item.rcItem, item.itemState & ODS_SELECTED);
}

}  // namespace skin
