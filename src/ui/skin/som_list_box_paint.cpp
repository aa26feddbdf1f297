// The list's drawing and its control manager duties: items with their controls cut by their
// columns, the area below the items, and the controls' repaints, moves and notifications.
#include <utility>

#include "ui/skin/control_host.h"
#include "ui/skin/paint_back_buffer.h"
#include "ui/skin/som_list_box.h"
#include "ui/skin/wnd_geometry.h"

namespace skin {

void CSomListBox::DrawRowBackground(HDC dc, bool, bool, const RECT* rect, int, LPARAM, DWORD) {
    FillClassBackground(hwnd_, dc, rect);
}

void CSomListBox::PaintBackground(HDC dc, const RECT* rect) { DrawRowBackground(dc, false, false, rect, -1, -1, 0); }

void CSomListBox::PaintWnds(HDC dc, const RECT& rect) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int count = RowCount();
    int itemsBottom = 0;
    for (int item = static_cast<int>(::SendMessageW(hwnd_, LB_GETTOPINDEX, 0, 0)); item < count; ++item) {
        const RECT itemRect = ItemRect(item);
        if (itemRect.top >= client.bottom) break;
        RECT overlap{};
        if (IntersectRect(&overlap, &itemRect, &rect)) DrawItem(dc, item, itemRect, IsSelected(item));
        itemsBottom = itemRect.bottom;
    }
    const RECT below{client.left, itemsBottom, client.right, client.bottom};
    RECT overlap{};
    if (IntersectRect(&overlap, &below, &rect)) DrawRowBackground(dc, false, false, &below, -1, -1, 0);
    if (count == 0) DrawEmpty(dc);
}

void CSomListBox::DrawItem(HDC dc, int item, const RECT& itemRect, bool selected) {
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, itemRect.left, itemRect.top, itemRect.right, itemRect.bottom);
    OffsetViewportOrgEx(dc, itemRect.left, itemRect.top, nullptr);
    const RECT local{0, 0, itemRect.right - itemRect.left, itemRect.bottom - itemRect.top};
    const bool hover = item == hoverRow_;
    ListRow* row = RowAt(item);
    if (row) {
        for (CSomWnd* wnd : row->controls) PaintRowControl(dc, *row, *wnd, local, item, hover, selected);
    }
    DrawRowBackground(dc, hover, selected, &local, item, row ? row->userData : 0, row ? row->extra : 0);
    RestoreDC(dc, saved);
}

void CSomListBox::PaintRowControl(HDC dc, const ListRow& row, CSomWnd& wnd, const RECT& item, int index,
                                  bool hover, bool selected) {
    if (!wnd.IsVisible()) return;
    const ListColumn column = ColumnOf(row, wnd.Column());
    const RECT& b = wnd.Bounds();
    const std::optional<int32_t> limit =
        (row.extra & kRowSpansItem) ? std::optional<int32_t>(-1) : ControlPaintLimit(b.left, b.right, column, item.right);
    if (!limit) return;
    const int left = column.x + b.left;
    const RECT shown{left, b.top, *limit == -1 ? column.x + b.right : left + *limit, b.bottom};
    HDC buffer = PaintBackBuffer::DC();
    if (wnd.IsTransparent() && buffer && PaintBackBuffer::Fits(shown)) {
        // Composed off-screen over the row's own background, so that it does not flicker.
        SetViewportOrgEx(buffer, -shown.left, -shown.top, nullptr);
        DrawRowBackground(buffer, hover, selected, &item, index, row.userData, row.extra);
        SetViewportOrgEx(buffer, 0, 0, nullptr);
        wnd.Paint(buffer, *limit, 0);
        BitBlt(dc, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, buffer, 0, 0, SRCCOPY);
    } else {
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
        if (wnd.IsTransparent()) DrawRowBackground(dc, hover, selected, &item, index, row.userData, row.extra);
        OffsetViewportOrgEx(dc, left, b.top, nullptr);
        wnd.Paint(dc, *limit, 0);
        RestoreDC(dc, saved);
    }
    ExcludeClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
}

void CSomListBox::InvalidateWnd(CSomWnd* wnd, const RECT* rect, bool force, int) {
    if (!redraw_ || !hwnd_ || (!wnd->IsVisible() && !force)) return;
    Place place{};
    if (!Locate(*wnd, place)) return;
    RECT area{0, 0, wnd->Width(), wnd->Height()};
    if (rect && !IntersectRect(&area, &area, rect)) return;
    OffsetRect(&area, place.itemRect.left + place.column.x + wnd->Bounds().left,
               place.itemRect.top + wnd->Bounds().top);
    if (!immediate_) {
        InvalidateRect(hwnd_, &area, FALSE);
        return;
    }
    // The whole row is drawn again inside the control's area: its background, the control and
    // whatever else lies there.
    HDC dc = GetDC(hwnd_);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    DrawItem(dc, place.item, place.itemRect, IsSelected(place.item));
    ReleaseDC(hwnd_, dc);
}

void CSomListBox::InvalidateColumnArea(const CSomWnd& wnd, const RECT& area) {
    Place place{};
    if (!redraw_ || !Locate(wnd, place)) return;
    RECT mapped = area;
    OffsetRect(&mapped, place.itemRect.left + place.column.x, place.itemRect.top);
    InvalidateRect(hwnd_, &mapped, FALSE);
}

void CSomListBox::SetWndRect(CSomWnd* wnd, int x, int y, int cx, int cy) {
    const bool changed = ChangeWndRect(*wnd, {x, y, x + cx, y + cy},
                                       [this, wnd](const RECT& area) { InvalidateColumnArea(*wnd, area); });
    if (changed && wnd->IsVisible() && immediate_ && redraw_ && hwnd_) UpdateWindow(hwnd_);
}

void CSomListBox::SetWndSize(CSomWnd* wnd, int cx, int cy) {
    SetWndRect(wnd, wnd->Bounds().left, wnd->Bounds().top, cx, cy);
}

void CSomListBox::SetWndPos(CSomWnd* wnd, int x, int y) { SetWndRect(wnd, x, y, wnd->Width(), wnd->Height()); }

void CSomListBox::ResumeImmediatePaint() {
    immediate_ = true;
    if (redraw_ && hwnd_) UpdateWindow(hwnd_);
}

void CSomListBox::AddWnd(CSomWnd* wnd) {
    // A control belongs to a list only through its row.
    if (auto* row = static_cast<ListRow*>(wnd->OwnerItem())) row->controls.push_back(wnd);
}

void CSomListBox::RemoveWnd(CSomWnd* wnd) {
    ForgetControl(hwnd_, capture_, hover_, wnd);
    if (auto* row = static_cast<ListRow*>(wnd->OwnerItem())) std::erase(row->controls, wnd);
}

void CSomListBox::SetCapture(CSomWnd* wnd) { TakeCapture(hwnd_, capture_, wnd); }

// The WM_CAPTURECHANGED that follows the release ends the holder's press.
void CSomListBox::ReleaseCapture(CSomWnd* wnd) { GiveUpCapture(hwnd_, capture_, wnd); }

LRESULT CSomListBox::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return hwnd_ ? ::SendMessageW(GetParent(hwnd_), msg, wParam, lParam) : 0;
}

BOOL CSomListBox::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return hwnd_ ? ::PostMessageW(GetParent(hwnd_), msg, wParam, lParam) : FALSE;
}

LRESULT CSomListBox::Notify(CSomWnd* wnd, int code, int id) {
    auto* row = static_cast<ListRow*>(wnd->OwnerItem());
    if (!row || RowIndex(*row) < 0) return 0;
    return SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id & 0xFFFF), static_cast<WORD>(code)), row->userData);
}

int CSomListBox::AddTip(CSomWnd* wnd, int code, const RECT* rect) { return RegisterTip(wnd, code, rect); }

void CSomListBox::RemoveTips(CSomWnd* wnd) { UnregisterTips(wnd); }

}  // namespace skin
