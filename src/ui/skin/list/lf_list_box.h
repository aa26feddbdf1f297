#pragma once
// The skin's list: rows stand on the device panel's picture (lit under the pointer), row styles
// -16 to -4 on its dark frame, -3 to -1 and the empty area on the skin's light colour. A click
// on a control in a row reaches the parent as WM_COMMAND kControlClicked.
#include "ui/skin/list/som_list_box.h"
#include "ui/skin/list/som_list_draw_when_no_item.h"

namespace skin {

class CLFListBox : public CSomListDrawWhenNoItem<CSomListBox> {
public:
    static constexpr WORD kControlClicked = 0x1001;

    // The picture every row stands on; its frame height is the skin's row height.
    static CSomBitmap* RowPicture();

    void DrawRowBackground(HDC dc, bool hover, bool selected, const RECT* rect, int item, LPARAM userData,
                           DWORD extra) override;

protected:
    WORD ControlCommandCode(int code) const override { return code == 0 ? kControlClicked : static_cast<WORD>(code); }
};

}  // namespace skin
