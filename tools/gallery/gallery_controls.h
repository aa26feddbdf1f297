#pragma once
// The gallery's own windowless controls: every frame of a skin picture side by side on a backdrop,
// and a picture stretched three-part or nine-part to a given size.
#include <windows.h>

#include "ui/skin/host/som_wnd.h"
#include "ui/skin/picture/som_bitmap.h"

namespace gallery {

// The backdrop of pictures made for the blue title band and panels.
inline constexpr COLORREF kBlueBackdrop = RGB(0x1E, 0x78, 0xDC);
inline constexpr int kFrameGap = 4;
inline constexpr int kBackdropPadding = 6;

class FrameStrip : public skin::CSomWnd {
public:
    FrameStrip(skin::CSomBitmap* bitmap, COLORREF backdrop) : bitmap_(bitmap), backdrop_(backdrop) {}
    // The size the strip needs for all frames with gaps and padding.
    SIZE Extent() const;
    // Client position of a frame's top-left corner.
    POINT FrameOrigin(int frame) const;
    COLORREF Backdrop() const { return backdrop_; }
    void Paint(HDC dc, int limit, int part) override;

private:
    skin::CSomBitmap* bitmap_;
    COLORREF backdrop_;
};

class StretchTile : public skin::CSomWnd {
public:
    // Three-part pictures stretch their width (DrawStretchWidth), nine-part ones both (Draw).
    StretchTile(skin::CSomBitmap* bitmap, int frame, bool bothWays)
        : bitmap_(bitmap), frame_(frame), bothWays_(bothWays) {}
    void Paint(HDC dc, int limit, int part) override;

private:
    skin::CSomBitmap* bitmap_;
    int frame_;
    bool bothWays_;
};

}  // namespace gallery
