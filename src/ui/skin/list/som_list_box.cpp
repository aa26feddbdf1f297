// The list's window: its messages, the pointer beside its row controls, the row under the pointer,
// the wheel and scrolling, and the commands of its row controls.
#include "ui/skin/list/som_list_box.h"

#include <windowsx.h>

#include <utility>

namespace skin {

namespace {
bool IsRightButton(UINT msg) { return msg >= WM_RBUTTONDOWN && msg <= WM_RBUTTONDBLCLK; }
bool IsMiddleButton(UINT msg) { return msg >= WM_MBUTTONDOWN && msg <= WM_MBUTTONDBLCLK; }
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

LRESULT CSomListBox::OnSize(UINT, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = false;
    if (wParam == SIZE_MINIMIZED) return 0;
    for (auto& columns : kinds_) LayOutColumns(columns, LOWORD(lParam));
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    return 0;
}

LRESULT CSomListBox::OnMouseWheel(UINT, WPARAM wParam, LPARAM, bool&) {
    const int lines = wheel_.Add(GET_WHEEL_DELTA_WPARAM(wParam));
    for (int i = 0; i < (lines < 0 ? -lines : lines); ++i)
        ::SendMessageW(hwnd_, WM_VSCROLL, lines > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return 0;
}

LRESULT CSomListBox::OnVScroll(UINT, WPARAM wParam, LPARAM lParam, bool&) {
    const LRESULT result = DefaultProcessing(WM_VSCROLL, wParam, lParam);
    ::SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), kListScrolled),
                   reinterpret_cast<LPARAM>(hwnd_));
    return result;
}

LRESULT CSomListBox::OnDrawItem(UINT, WPARAM, LPARAM lParam, bool&) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    // itemID -1 is the focus of an empty list.
    if (item.itemID != static_cast<UINT>(-1))
        DrawItem(item.hDC, static_cast<int>(item.itemID), item.rcItem, item.itemState & ODS_SELECTED);
    return TRUE;
}

LRESULT CSomListBox::OnMeasureItem(UINT, WPARAM, LPARAM lParam, bool&) {
    if (rowHeight_ > 0) reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = rowHeight_;
    return TRUE;
}

bool CSomListBox::OnButtonBesideControls(UINT msg, POINT point, CSomWnd* target) {
    if (IsMiddleButton(msg)) return true;
    if (IsRightButton(msg)) return target != nullptr;
    if (msg != WM_LBUTTONDOWN) return false;
    const int item = ItemAt(point);
    // Below the last item a press changes nothing.
    if (item < 0) return true;
    NotifyRowClicked(item);
    return false;  // the list box selects the item as usual
}

void CSomListBox::NotifyRowClicked(int item) {
    NMLISTROWCLICK click{};
    click.header.hwndFrom = hwnd_;
    click.header.idFrom = GetDlgCtrlID(hwnd_);
    click.header.code = static_cast<UINT>(kListRowClicked);
    click.item = item;
    ::SendMessageW(GetParent(hwnd_), WM_NOTIFY, click.header.idFrom, reinterpret_cast<LPARAM>(&click));
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

LRESULT CSomListBox::Notify(CSomWnd* wnd, int code, int id) {
    auto* row = static_cast<ListRow*>(wnd->OwnerItem());
    if (!row || RowIndex(*row) < 0) return 0;
    return SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id & 0xFFFF), ControlCommandCode(code)), row->userData);
}

}  // namespace skin
