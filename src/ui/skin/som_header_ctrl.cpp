#include "ui/skin/som_header_ctrl.h"

#include <commctrl.h>
#include <windowsx.h>

#include "ui/skin/caption_text.h"
#include "ui/skin/face_frames.h"
#include "ui/skin/skin_resources.h"
#include "win/reflection.h"

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

CLFHeaderCtrl::CLFHeaderCtrl() : CSomHeaderCtrl(Skin()->Bitmap(kCellPicture), Skin()->Bitmap(kArrowPicture)) {}

void CSomHeaderCtrl::SetSortColumn(int column, bool ascending) {
    sortColumn_ = column;
    ascending_ = ascending;
    if (hwnd_) Repaint();
}

bool CSomHeaderCtrl::ProcessWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_MOUSEMOVE:
        OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return false;
    case WM_MOUSELEAVE:
        hoverItem_ = -1;
        Repaint();
        return false;
    case WM_LBUTTONDOWN:
        if (!tracking_) {
            pressedItem_ = ItemAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            Repaint();
        }
        return false;
    case HDM_LAYOUT:
        result = OnLayout(reinterpret_cast<HDLAYOUT*>(lParam));
        return true;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        Paint(BeginPaint(hwnd_, &paint));
        EndPaint(hwnd_, &paint);
        return true;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return true;
    case win::kReflectedBase + WM_NOTIFY:
        OnReflectedNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return true;
    default:
        return false;
    }
}

void CSomHeaderCtrl::OnMouseMove(POINT point) {
    NMHDR moved{hwnd_, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_)), static_cast<UINT>(kHeaderPointerMoved)};
    SendMessageW(GetParent(hwnd_), WM_NOTIFY, moved.idFrom, reinterpret_cast<LPARAM>(&moved));
    if (tracking_) return;
    const int item = ItemAt(point);
    if (item >= 0) {
        TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&leave);
    }
    if (item == hoverItem_) return;
    hoverItem_ = item;
    Repaint();
}

bool CSomHeaderCtrl::OnLayout(HDLAYOUT* layout) {
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
    return true;
}

void CSomHeaderCtrl::OnReflectedNotify(const NMHDR& header) {
    switch (header.code) {
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
