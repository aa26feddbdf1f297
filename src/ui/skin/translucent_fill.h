#pragma once
// Darkens a rectangle by blending black over it.
#include <windows.h>

namespace skin {

// alpha 0 leaves the rectangle as it is, 255 paints it black.
void DarkenRect(HDC dc, const RECT& rect, BYTE alpha);

}  // namespace skin
