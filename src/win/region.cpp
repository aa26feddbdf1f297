#include "win/region.h"

namespace win {

Region Region::RoundRect(const RECT& rect, int ellipseWidth, int ellipseHeight) {
    return Region(CreateRoundRectRgn(rect.left, rect.top, rect.right, rect.bottom, ellipseWidth,
                                     ellipseHeight));
}

Region::~Region() {
    if (region_) DeleteObject(region_);
}

void Region::AddPixel(int x, int y) {
    HRGN pixel = CreateRectRgn(x, y, x + 1, y + 1);
    CombineRgn(region_, region_, pixel, RGN_OR);
    DeleteObject(pixel);
}

bool Region::ApplyTo(HWND window, bool redraw) {
    if (!region_ || !SetWindowRgn(window, region_, redraw)) return false;
    region_ = nullptr;
    return true;
}

}  // namespace win
