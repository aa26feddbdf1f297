#pragma once
// Pictures with fixed borders: the three-part picture keeps its left and right ends and stretches
// the middle across; the nine-part picture does so in both directions. Frames lie side by side.
#include "ui/skin/picture/som_bitmap.h"

namespace skin {

class CSomBitmapHorizen3Part : public CSomBitmap {
public:
    // left: width of the fixed left part; right: x inside a frame where the fixed right part begins.
    CSomBitmapHorizen3Part(int resource, uint16_t frameCount, int left, int right)
        : CSomBitmap(resource, kPng, frameCount), left_(left), right_(right) {}

    void DrawStretchWidth(HDC dc, int x, int y, int w, int frame) override;

private:
    int left_, right_;
};

class CSomBitmap9Part : public CSomBitmap {
public:
    // top: height of the fixed top part; bottom: y inside a frame where the fixed bottom part begins.
    CSomBitmap9Part(int resource, uint16_t frameCount, int left, int right, int top, int bottom)
        : CSomBitmap(resource, kPng, frameCount), left_(left), right_(right), top_(top), bottom_(bottom) {}

    void Draw(HDC dc, int x, int y, int w, int h, int frame) override;

private:
    int left_, right_, top_, bottom_;
};

}  // namespace skin
