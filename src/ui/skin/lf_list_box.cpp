#include "ui/skin/lf_list_box.h"

#include "ui/skin/face_frames.h"
#include "ui/skin/skin_resources.h"

namespace skin {

void CLFListBox::DrawRowBackground(HDC dc, bool hover, bool, const RECT* rect, int, LPARAM userData, DWORD) {
    RECT area{};
    if (rect)
        area = *rect;
    else
        GetClipBox(dc, &area);
    const RowLook look = ListRowLook(static_cast<int32_t>(userData), hover);
    if (look == RowLook::Plain) {
        FillRect(dc, &area, Skin()->lightBrush);
        return;
    }
    // The row picture is opaque, so drawing it as it is covers the row.
    const int frame = look == RowLook::Special ? kRowFrameSpecial : look == RowLook::Hover ? kRowFrameHover : kRowFrameNormal;
    Skin()->Bitmap(kRowPicture)->Draw(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, frame);
}

LRESULT CLFListBox::Notify(CSomWnd* wnd, int code, int id) {
    return CSomListBox::Notify(wnd, code == 0 ? kControlClicked : code, id);
}

}  // namespace skin
