#include "ui/skin/header/som_header_ctrl.h"

#include "skin_art.h"

#include <commctrl.h>
#include <windowsx.h>

#include "ui/skin/header/header_cells.h"
#include "ui/skin/paint/caption_text.h"
#include "ui/skin/paint/skin_resources.h"

namespace skin {

namespace {

constexpr int kTextInset = 5;

UINT Alignment(int format) {
    switch (format & HDF_JUSTIFYMASK) {
    case HDF_CENTER:
        return DT_CENTER;
    case HDF_RIGHT:
        return DT_RIGHT;
    default:
        return DT_LEFT;
    }
}

}  // namespace

CLFHeaderCtrl::CLFHeaderCtrl() : CSomHeaderCtrl(Skin()->Bitmap(art::kListHeader), Skin()->Bitmap(art::kSortArrow)) {}

void CSomHeaderCtrl::SetSortColumn(int column, bool ascending) {
    sortColumn_ = column;
    ascending_ = ascending;
    if (hwnd_) Repaint();
}

LRESULT CSomHeaderCtrl::OnMouseMove(UINT, WPARAM, LPARAM lParam, bool& handled) {
    handled = false;
    NMHDR moved{hwnd_, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_)), static_cast<UINT>(kHeaderPointerMoved)};
    SendMessageW(GetParent(hwnd_), WM_NOTIFY, moved.idFrom, reinterpret_cast<LPARAM>(&moved));
    if (tracking_) return 0;
    const int item = ItemAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (item >= 0) {
        TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&leave);
    }
    if (item == hoverItem_) return 0;
    hoverItem_ = item;
    Repaint();
    return 0;
}

LRESULT CSomHeaderCtrl::OnMouseLeave(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    hoverItem_ = -1;
    Repaint();
    return 0;
}

LRESULT CSomHeaderCtrl::OnLButtonDown(UINT, WPARAM, LPARAM lParam, bool& handled) {
    handled = false;
    if (tracking_) return 0;
    pressedItem_ = ItemAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    Repaint();
    return 0;
}

LRESULT CSomHeaderCtrl::OnLayout(UINT, WPARAM, LPARAM lParam, bool&) {
    auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
    const int height = cells_->GetFrameHeight();
    WINDOWPOS& place = *layout->pwpos;
    place.hwnd = hwnd_;
    place.hwndInsertAfter = nullptr;
    place.x = layout->prc->left;
    place.y = layout->prc->top;
    place.cx = layout->prc->right - layout->prc->left;
    place.cy = height;
    place.flags = SWP_NOZORDER | SWP_NOACTIVATE;
    layout->prc->top += height;
    return TRUE;
}

LRESULT CSomHeaderCtrl::OnPaint(UINT, WPARAM wParam, LPARAM, bool&) {
    if (auto given = reinterpret_cast<HDC>(wParam)) {
        Paint(given);
        return 0;
    }
    PAINTSTRUCT paint{};
    Paint(BeginPaint(hwnd_, &paint));
    EndPaint(hwnd_, &paint);
    return 0;
}

LRESULT CSomHeaderCtrl::OnReflectedNotify(UINT, WPARAM, LPARAM lParam, bool&) {
    switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
    case NM_RELEASEDCAPTURE:
        pressedItem_ = -1;
        Repaint();
        break;
    case HDN_BEGINTRACKW:
        tracking_ = true;
        pressedItem_ = -1;
        Repaint();
        break;
    case HDN_ENDTRACKW:
        tracking_ = false;
        break;
    default:
        break;
    }
    return 0;
}

int CSomHeaderCtrl::ItemAt(POINT point) const {
    HDHITTESTINFO hit{};
    hit.pt = point;
    SendMessageW(hwnd_, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    return (hit.flags & (HHT_ONHEADER | HHT_ONDIVIDER | HHT_ONDIVOPEN)) ? hit.iItem : -1;
}

void CSomHeaderCtrl::Paint(HDC dc) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int count = static_cast<int>(SendMessageW(hwnd_, HDM_GETITEMCOUNT, 0, 0));
    int right = 0;
    for (int item = 0; item < count; ++item) {
        RECT rect{};
        SendMessageW(hwnd_, HDM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
        if (rect.right > right) right = rect.right;
        RECT overlap{};
        if (IntersectRect(&overlap, &rect, &client)) PaintItem(dc, item, rect);
    }
    if (right < client.right) cells_->DrawStretchWidth(dc, right, 0, client.right - right, 0);
}

void CSomHeaderCtrl::PaintItem(HDC dc, int item, const RECT& rect) {
    const int width = rect.right - rect.left;
    const bool sorted = item == sortColumn_;
    cells_->DrawStretchWidth(dc, rect.left, 0, width, HeaderCellFrame(item == pressedItem_, item == hoverItem_, sorted));
    if (sorted) {
        const int x = rect.left + (width - sortArrow_->GetFrameWidth()) / 2;
        if (x >= rect.left) sortArrow_->DrawFrame(dc, x, 1, ascending_ ? 0 : 1);
    }
    wchar_t text[260] = {};
    HDITEMW info{};
    info.mask = HDI_TEXT | HDI_FORMAT;
    info.pszText = text;
    info.cchTextMax = static_cast<int>(std::size(text));
    SendMessageW(hwnd_, HDM_GETITEMW, item, reinterpret_cast<LPARAM>(&info));
    DrawCaption(dc, text, SkinFont(1), GetTextColor(dc), {rect.left + kTextInset, rect.top, rect.right - kTextInset, rect.bottom},
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | Alignment(info.fmt));
}

}  // namespace skin
