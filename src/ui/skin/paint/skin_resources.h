#pragma once
// The process-wide skin: the caption fonts, the light background brush and every picture of the
// user interface by PNG resource number. Made at start-up before any window and destroyed at exit;
// controls only keep pointers into it.
#include <windows.h>

#include <memory>
#include <vector>

#include "ui/skin/paint/skin_fonts.h"
#include "ui/skin/picture/som_bitmap.h"

namespace skin {

inline constexpr COLORREF kLightBackground = 0xFFFCF6;

struct SkinResources {
    SkinResources();
    ~SkinResources();
    SkinResources(const SkinResources&) = delete;
    SkinResources& operator=(const SkinResources&) = delete;

    // The picture of a PNG resource number, or null for a number that is no skin picture.
    CSomBitmap* Bitmap(int resource) const;
    // Darkens a rectangle by blending black over it: alpha 0 leaves it as it is, 255 paints it black.
    void DarkenRect(HDC dc, const RECT& rect, BYTE alpha);

    SkinFonts fonts;
    HBRUSH lightBrush;
    std::vector<std::pair<int, std::unique_ptr<CSomBitmap>>> bitmaps;  // resource number, picture

private:
    // One pre-multiplied black pixel, stretched over a rectangle with the alpha of the moment.
    DWORD* shadeBits_ = nullptr;
    HBITMAP shadePixel_;
};

// Both UI thread only. Creating also makes the shared memory DC and the paint back buffer;
// destroying releases them with every picture handle, font and the brush.
void CreateSkinResources();
void DestroySkinResources();
SkinResources* Skin();  // null outside the two calls above

}  // namespace skin
