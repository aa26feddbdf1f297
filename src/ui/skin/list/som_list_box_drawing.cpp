// The list's drawing: items with their controls cut by their columns, the area below the items,
// and a row control's repaint.
#include "ui/skin/list/som_list_box.h"

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
    PaintOver(dc, wnd, shown, *limit, 0, true, wnd.IsTransparent(), [&](HDC target) {
        DrawRowBackground(target, hover, selected, &item, index, row.userData, row.extra);
    });
    ExcludeClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
}

void CSomListBox::RepaintNow(HDC dc, CSomWnd& wnd, const RECT&, int) {
    auto* row = static_cast<ListRow*>(wnd.OwnerItem());
    const int item = row ? RowIndex(*row) : -1;
    if (item >= 0) DrawItem(dc, item, ItemRect(item), IsSelected(item));
}

}  // namespace skin
