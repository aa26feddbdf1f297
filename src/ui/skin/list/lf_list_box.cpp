#include "ui/skin/list/lf_list_box.h"

#include "skin_art.h"
#include "ui/skin/paint/skin_resources.h"

namespace skin {

CSomBitmap* CLFListBox::RowPicture() { return Skin()->Bitmap(art::kPanel); }

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
    RowPicture()->Draw(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, frame);
}

}  // namespace skin
