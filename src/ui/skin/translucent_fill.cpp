#include "ui/skin/translucent_fill.h"

#include "ui/skin/shared_dc.h"

namespace skin {

void DarkenRect(HDC dc, const RECT& rect, BYTE alpha) {
    // One pre-multiplied black pixel, stretched over the rectangle with its alpha.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP pixel = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!pixel) return;
    *static_cast<DWORD*>(bits) = static_cast<DWORD>(alpha) << 24;
    HDC memory = SharedMemoryDC();
    HGDIOBJ previous = SelectObject(memory, pixel);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory, 0, 0, 1, 1, blend);
    SelectObject(memory, previous);
    DeleteObject(pixel);
}

}  // namespace skin
