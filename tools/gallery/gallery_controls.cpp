#include "gallery_controls.h"

namespace gallery {

SIZE FrameStrip::Extent() const {
    const int frames = bitmap_->GetFrameCount();
    return {2 * kBackdropPadding + frames * bitmap_->GetFrameWidth() + (frames - 1) * kFrameGap,
            2 * kBackdropPadding + bitmap_->GetFrameHeight()};
}

POINT FrameStrip::FrameOrigin(int frame) const {
    return {Bounds().left + kBackdropPadding + frame * (bitmap_->GetFrameWidth() + kFrameGap),
            Bounds().top + kBackdropPadding};
}

void FrameStrip::Paint(HDC dc, int, int) {
    HBRUSH brush = CreateSolidBrush(backdrop_);
    const RECT all{0, 0, Width(), Height()};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    for (int frame = 0; frame < bitmap_->GetFrameCount(); ++frame) {
        bitmap_->DrawFrame(dc, kBackdropPadding + frame * (bitmap_->GetFrameWidth() + kFrameGap),
                           kBackdropPadding, frame);
    }
}

void StretchTile::Paint(HDC dc, int, int) {
    if (bothWays_)
        bitmap_->Draw(dc, 0, 0, Width(), Height(), frame_);
    else
        bitmap_->DrawStretchWidth(dc, 0, 0, Width(), frame_);
}

}  // namespace gallery
