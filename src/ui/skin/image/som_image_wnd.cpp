#include "ui/skin/image/som_image_wnd.h"

#include "ui/skin/image/animation_frames.h"

namespace skin {

void CSomImageWnd::SetBitmap(CSomBitmap* bitmap, int frame) {
    bitmap_ = bitmap;
    frame_ = frame;
    if (!Manager()) return;
    OnCreate();
    Invalidate();
}

void CSomImageWnd::OnCreate() {
    if (!bitmap_) return;
    if (IsAutoSize()) SetWndSize(bitmap_->GetFrameWidth(), bitmap_->GetFrameHeight());
    flags_ = bitmap_->HasAlpha() ? (flags_ | kSomTransparent) : (flags_ & ~kSomTransparent);
}

void CSomImageWnd::Paint(HDC dc, int, int) {
    if (bitmap_) bitmap_->DrawFrame(dc, 0, 0, frame_);
}

void CSomAnimation::OnCreate() {
    if (!bitmap_) return;
    frame_ = 0;
    CSomImageWnd::OnCreate();
    Invalidate();
}

void CSomAnimation::OnTick() {
    if (!IsVisible()) return;
    if (bitmap_) frame_ = NextAnimationFrame(frame_, bitmap_->GetFrameCount());
    Invalidate();
}

}  // namespace skin
