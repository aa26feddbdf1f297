#include "ui/skin/picture/som_bitmap.h"

#include "ui/skin/paint/gdi_objects.h"
#include "ui/skin/picture/picture_loading.h"
#include "ui/skin/picture/stretch_plan.h"

namespace skin {

namespace {

constexpr BLENDFUNCTION kPerPixelAlpha{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

// The part of block that the dc's clip region lets show (all of it when the clip cannot be read);
// false when nothing of it shows.
bool ShownPart(HDC dc, const RECT& block, RECT& shown) {
    RECT clip{};
    switch (GetClipBox(dc, &clip)) {
    case NULLREGION:
        return false;
    case ERROR:
        shown = block;
        return true;
    default:
        return IntersectRect(&shown, &block, &clip) != FALSE;
    }
}

}  // namespace

// A frame count of 0 would divide by zero when the picture is cut: it means one frame.
CSomBitmap::CSomBitmap(int resource, SourceKind kind, uint16_t frameCount, bool verticalFrames)
    : resource_(resource), frameCount_(frameCount ? frameCount : 1), kind_(kind),
      verticalFrames_(verticalFrames) {}

CSomBitmap::CSomBitmap(std::wstring path, SourceKind kind, uint16_t frameCount, bool verticalFrames)
    : path_(std::move(path)), frameCount_(frameCount ? frameCount : 1), kind_(kind),
      verticalFrames_(verticalFrames) {}

CSomBitmap::CSomBitmap(HICON icon, int width, int height)
    : frameWidth_(width), frameHeight_(height), icon_(icon), frameCount_(1), kind_(kIconHandle),
      verticalFrames_(false) {}

CSomBitmap::~CSomBitmap() {
    if (bitmap_) DeleteObject(bitmap_);
}

HBITMAP CSomBitmap::LoadPicture() const {
    if (kind_ == kBmp) return LoadBmpPicture(resource_, path_);
    if (!path_.empty()) return LoadPictureFile(path_);
    return LoadPngResource(resource_);
}

bool CSomBitmap::EnsureLoaded() {
    if (kind_ == kIconHandle) return icon_ != nullptr;
    if (bitmap_) return true;
    bitmap_ = LoadPicture();
    BITMAP info{};
    if (!bitmap_ || !GetObjectW(bitmap_, sizeof(info), &info)) {
        frameWidth_ = frameHeight_ = 0;
        hasAlpha_ = false;
        return false;
    }
    hasAlpha_ = info.bmBitsPixel == 32;
    frameWidth_ = verticalFrames_ ? info.bmWidth : info.bmWidth / frameCount_;
    frameHeight_ = verticalFrames_ ? info.bmHeight / frameCount_ : info.bmHeight;
    return true;
}

POINT CSomBitmap::FrameOrigin(int frame) const {
    return verticalFrames_ ? POINT{0, frame * frameHeight_} : POINT{frame * frameWidth_, 0};
}

int CSomBitmap::GetFrameWidth() { return EnsureLoaded() ? frameWidth_ : 0; }
int CSomBitmap::GetFrameHeight() { return EnsureLoaded() ? frameHeight_ : 0; }
int CSomBitmap::GetFrameCount() { return EnsureLoaded() ? frameCount_ : 0; }
bool CSomBitmap::HasAlpha() { return EnsureLoaded() && hasAlpha_; }

void CSomBitmap::Draw(HDC dc, int x, int y, int w, int h, int frame) {
    if (kind_ == kIconHandle || !EnsureLoaded()) return;
    const POINT origin = FrameOrigin(frame);
    Source(*this).Stretch(dc, x, y, w, h, origin.x, origin.y, frameWidth_, frameHeight_);
}

void CSomBitmap::DrawStretchWidth(HDC dc, int x, int y, int w, int frame) {
    if (kind_ == kIconHandle || !EnsureLoaded()) return;
    const POINT origin = FrameOrigin(frame);
    Source(*this).Stretch(dc, x, y, w, frameHeight_, origin.x, origin.y, frameWidth_, frameHeight_);
}

void CSomBitmap::DrawFrame(HDC dc, int x, int y, int frame) {
    if (kind_ == kIconHandle) {
        if (icon_) DrawIconEx(dc, x, y, icon_, frameWidth_, frameHeight_, 0, nullptr, DI_NORMAL);
        return;
    }
    if (!EnsureLoaded()) return;
    const POINT origin = FrameOrigin(frame);
    Source(*this).Copy(dc, x, y, frameWidth_, frameHeight_, origin.x, origin.y);
}

CSomBitmap::Source::Source(const CSomBitmap& bitmap)
    : memory_(SharedMemoryDC()), previous_(SelectObject(memory_, bitmap.bitmap_)),
      alpha_(bitmap.hasAlpha_) {}

CSomBitmap::Source::~Source() { SelectObject(memory_, previous_); }

void CSomBitmap::Source::Copy(HDC dc, int x, int y, int w, int h, int sx, int sy) const {
    // Only what the clip region lets show is copied: a picture much larger than what is being
    // repainted costs no more than that part of it.
    RECT shown{};
    if (!ShownPart(dc, {x, y, x + w, y + h}, shown)) return;
    sx += shown.left - x;
    sy += shown.top - y;
    x = shown.left;
    y = shown.top;
    w = shown.right - shown.left;
    h = shown.bottom - shown.top;
    if (alpha_)
        AlphaBlend(dc, x, y, w, h, memory_, sx, sy, w, h, kPerPixelAlpha);
    else
        BitBlt(dc, x, y, w, h, memory_, sx, sy, SRCCOPY);
}

void CSomBitmap::Source::Stretch(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw,
                                 int sh) const {
    if (alpha_) {
        AlphaBlend(dc, x, y, w, h, memory_, sx, sy, sw, sh, kPerPixelAlpha);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, x, y, w, h, memory_, sx, sy, sw, sh, SRCCOPY);
    }
}

void CSomBitmap::Source::Part(HDC dc, int x, int y, const Span& across, const Span& down,
                              int frameLeft) const {
    const RECT cell{x + across.dstStart, y + down.dstStart, x + across.dstStart + across.dstLength,
                    y + down.dstStart + down.dstLength};
    RECT shown{};
    if (!ShownPart(dc, cell, shown)) return;
    const int sx = frameLeft + across.srcStart;
    if (across.Scaled() || down.Scaled())
        Stretch(dc, x + across.dstStart, y + down.dstStart, across.dstLength, down.dstLength, sx,
                down.srcStart, across.srcLength, down.srcLength);
    else
        Copy(dc, x + across.dstStart, y + down.dstStart, across.dstLength, down.dstLength, sx,
             down.srcStart);
}

}  // namespace skin
