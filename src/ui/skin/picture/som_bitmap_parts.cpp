#include "ui/skin/picture/som_bitmap_parts.h"

#include "ui/skin/picture/stretch_plan.h"

namespace skin {

void CSomBitmapHorizen3Part::DrawStretchWidth(HDC dc, int x, int y, int w, int frame) {
    if (!EnsureLoaded()) return;
    const AxisSpans across = SplitAxis(w, left_, right_, frameWidth_);
    const Span down{0, frameHeight_, 0, frameHeight_};
    const Source source(*this);
    for (int i = 0; i < across.count; ++i) source.Part(dc, x, y, across.spans[i], down, frame * frameWidth_);
}

void CSomBitmap9Part::Draw(HDC dc, int x, int y, int w, int h, int frame) {
    if (!EnsureLoaded()) return;
    SetStretchBltMode(dc, HALFTONE);
    const AxisSpans across = SplitAxis(w, left_, right_, frameWidth_);
    const AxisSpans down = SplitAxis(h, top_, bottom_, frameHeight_);
    const Source source(*this);
    for (int row = 0; row < down.count; ++row) {
        for (int column = 0; column < across.count; ++column)
            source.Part(dc, x, y, across.spans[column], down.spans[row], frame * frameWidth_);
    }
}

}  // namespace skin
