// The list's rows: adding, removing and finding them, their columns, and where their controls lie.
#include <utility>

#include "ui/skin/list/som_list_box.h"

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
    // Its controls go away without being told that the pointer left them.
    DropPointerOf(row);
    ::SendMessageW(hwnd_, LB_SETITEMDATA, item, 0);
    rows_.erase(row->userData);  // disposes of the row's controls
    ::SendMessageW(hwnd_, LB_DELETESTRING, item, 0);
    hoverRow_ = -1;
}

void CSomListBox::DeleteAllRows() {
    for (const auto& [userData, row] : rows_) DropPointerOf(row.get());
    if (hwnd_) ::SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    rows_.clear();
    hoverRow_ = -1;
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

void CSomListBox::AddWnd(CSomWnd* wnd) {
    // A control belongs to a list only through its row.
    if (auto* row = static_cast<ListRow*>(wnd->OwnerItem())) row->controls.push_back(wnd);
}

void CSomListBox::UnlistWnd(CSomWnd& wnd) {
    if (auto* row = static_cast<ListRow*>(wnd.OwnerItem())) std::erase(row->controls, &wnd);
}

void CSomListBox::ForEachWnd(const std::function<void(CSomWnd&)>& visit) {
    for (int item = 0; item < RowCount(); ++item) {
        ListRow* row = RowAt(item);
        if (!row) continue;
        // By index: a control may leave its row while it is visited.
        for (size_t i = 0; i < row->controls.size(); ++i) visit(*row->controls[i]);
    }
}

bool CSomListBox::WndOrigin(const CSomWnd& wnd, POINT& origin) const {
    auto* row = static_cast<ListRow*>(wnd.OwnerItem());
    if (!row || !hwnd_) return false;
    const int item = RowIndex(*row);
    if (item < 0) return false;
    const RECT itemRect = ItemRect(item);
    origin = {itemRect.left + ColumnOf(*row, wnd.Column()).x, itemRect.top};
    return true;
}

CSomWnd* CSomListBox::WndAt(POINT point) const {
    const int item = ItemAt(point);
    ListRow* row = item >= 0 ? RowAt(item) : nullptr;
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

}  // namespace skin
