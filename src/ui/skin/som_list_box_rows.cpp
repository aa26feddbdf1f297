// The list's rows: adding, removing and finding them, their columns, and where their controls lie.
#include <utility>

#include "ui/skin/som_list_box.h"

namespace skin {

int CSomListBox::InsertRow(int position, LPARAM userData, const RowBuilder& build, int kind, DWORD extra) {
    if (rows_.count(userData)) return -1;
    const int item = static_cast<int>(::SendMessageW(hwnd_, LB_INSERTSTRING, position, 0));
    if (item < 0) return item;
    auto made = std::make_unique<ListRow>(userData, kind, extra);
    ListRow& row = *made;
    row.indexHint = item;
    rows_.emplace(userData, std::move(made));
    if (build) build(row);
    ::SendMessageW(hwnd_, LB_SETITEMDATA, item, reinterpret_cast<LPARAM>(&row));
    // The item may have been drawn while its controls were made, before it knew its row.
    const RECT rect = ItemRect(item);
    InvalidateRect(hwnd_, &rect, FALSE);
    return item;
}

void CSomListBox::DeleteRow(int item) {
    ListRow* row = RowAt(item);
    if (!row) return;
    DropRowInput(*row);
    ::SendMessageW(hwnd_, LB_SETITEMDATA, item, 0);
    rows_.erase(row->userData);  // disposes of the row's controls
    ::SendMessageW(hwnd_, LB_DELETESTRING, item, 0);
    hoverRow_ = -1;
}

void CSomListBox::DeleteAllRows() {
    for (const auto& [userData, row] : rows_) DropRowInput(*row);
    if (hwnd_) ::SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    rows_.clear();
    hoverRow_ = -1;
}

void CSomListBox::DropRowInput(const ListRow& row) {
    if (hover_ && hover_->OwnerItem() == &row) hover_ = nullptr;
    if (capture_ && capture_->OwnerItem() == &row) {
        capture_ = nullptr;
        if (hwnd_ && GetCapture() == hwnd_) ::ReleaseCapture();
    }
}

ListRow* CSomListBox::RowAt(int item) const {
    if (!hwnd_ || item < 0) return nullptr;
    const LRESULT data = ::SendMessageW(hwnd_, LB_GETITEMDATA, item, 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<ListRow*>(data);
}

ListRow* CSomListBox::FindRow(LPARAM userData) const {
    const auto found = rows_.find(userData);
    return found == rows_.end() ? nullptr : found->second.get();
}

int CSomListBox::RowIndex(ListRow& row) const {
    if (RowAt(row.indexHint) == &row) return row.indexHint;
    // Items moved since the hint was taken: take every row's position afresh.
    const int count = RowCount();
    for (int item = 0; item < count; ++item) {
        if (ListRow* at = RowAt(item)) at->indexHint = item;
    }
    return RowAt(row.indexHint) == &row ? row.indexHint : -1;
}

int CSomListBox::RowCount() const {
    return hwnd_ ? static_cast<int>(::SendMessageW(hwnd_, LB_GETCOUNT, 0, 0)) : 0;
}

void CSomListBox::SetColumns(int kind, std::vector<ListColumn> columns) {
    if (kind < 0) return;
    if (kind >= static_cast<int>(kinds_.size())) kinds_.resize(kind + 1);
    kinds_[kind] = std::move(columns);
    if (!hwnd_) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    LayOutColumns(kinds_[kind], client.right);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

const std::vector<ListColumn>& CSomListBox::Columns(int kind) const {
    return kinds_[kind >= 0 && kind < static_cast<int>(kinds_.size()) ? kind : 0];
}

const std::vector<ListColumn>& CSomListBox::ColumnsOf(const ListRow& row) const { return Columns(row.kind); }

ListColumn CSomListBox::ColumnOf(const ListRow& row, int column) const {
    const std::vector<ListColumn>& columns = ColumnsOf(row);
    return column >= 0 && column < static_cast<int>(columns.size()) ? columns[column] : ListColumn{};
}

void CSomListBox::SetRowHeight(int height) {
    rowHeight_ = height;
    if (hwnd_) ::SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, height);
}

int CSomListBox::ItemAt(POINT point) const {
    const LRESULT found = ::SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    const int item = LOWORD(found);
    if (item >= RowCount()) return -1;
    const RECT rect = ItemRect(item);
    return PtInRect(&rect, point) ? item : -1;
}

RECT CSomListBox::ItemRect(int item) const {
    RECT rect{};
    ::SendMessageW(hwnd_, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

bool CSomListBox::IsSelected(int item) const { return ::SendMessageW(hwnd_, LB_GETSEL, item, 0) > 0; }

bool CSomListBox::Locate(const CSomWnd& wnd, Place& place) const {
    auto* row = static_cast<ListRow*>(wnd.OwnerItem());
    if (!row || !hwnd_) return false;
    place.item = RowIndex(*row);
    if (place.item < 0) return false;
    place.itemRect = ItemRect(place.item);
    place.column = ColumnOf(*row, wnd.Column());
    return true;
}

CSomWnd* CSomListBox::ControlAt(int item, POINT point) const {
    ListRow* row = RowAt(item);
    if (!row) return nullptr;
    const RECT rect = ItemRect(item);
    const int column = ColumnAt(ColumnsOf(*row), point.x - rect.left);
    if (column < 0) return nullptr;
    const POINT inColumn{point.x - rect.left - ColumnsOf(*row)[column].x, point.y - rect.top};
    for (CSomWnd* wnd : row->controls) {
        if (wnd->Column() == column && wnd->IsVisible() && wnd->IsEnabled() && PtInRect(&wnd->Bounds(), inColumn))
            return wnd;
    }
    return nullptr;
}

POINT CSomListBox::ToControl(const CSomWnd& wnd, POINT point) const {
    Place place{};
    if (!Locate(wnd, place)) return point;
    return {point.x - place.itemRect.left - place.column.x - wnd.Bounds().left,
            point.y - place.itemRect.top - wnd.Bounds().top};
}

}  // namespace skin
