#include "ui/skin/lf_skin_button.h"

namespace skin {

void CLFSkinButton::SetTextColor(COLORREF color) {
    textColor_ = color;
    Invalidate();
}

void CLFSkinButton::OnCreate() {
    flags_ |= kSomTransparent;
    hover_ = false;
    if (IsAutoSize()) {
        const SIZE size = NaturalSize();
        SetWndSize(size.cx, size.cy);
    }
    Invalidate();
}

}  // namespace skin
