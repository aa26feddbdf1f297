#include "ui/skin/paint/skin_resources.h"

#include "skin_art.h"

#include "ui/skin/host/paint_back_buffer.h"
#include "ui/skin/paint/gdi_objects.h"
#include "ui/skin/picture/som_bitmap_parts.h"

namespace skin {

namespace {

SkinResources* g_skin = nullptr;

enum class Shape { Plain, ThreePart, NinePart };

struct Picture {
    int resource;
    uint16_t frames;
    bool vertical;  // frames stacked top to bottom
    Shape shape = Shape::Plain;
};

// Every picture of the user interface, in the skin's order.
constexpr Picture kPictures[] = {
    {art::kWindow, 1, false, Shape::NinePart}, {art::kSeparators, 4, false}, {art::kTab, 2, false},
    {art::kTabInstall, 1, false}, {art::kTabApps, 1, false}, {art::kTabTasks, 1, false}, {art::kApk48, 1, false},
    {art::kCardApps, 1, false}, {art::kCardTasks, 1, false}, {art::kCardMore, 1, false}, {art::kBadge, 2, false},
    {art::kDone, 1, false}, {art::kDropZone, 1, false}, {art::kWaiting, 1, false}, {art::kReady, 1, false},
    {art::kInstalling, 8, false}, {art::kNoBox, 1, false}, {art::kPanel, 3, false}, {art::kSmallIcons, 12, false},
    {art::kSmallSpinner, 8, false}, {art::kClose, 4, false}, {art::kButton, 4, false}, {art::kMinimise, 4, false},
    {art::kAbout, 4, false}, {art::kSearch, 8, false}, {art::kApp74, 1, false},
    {art::kListHeader, 4, false, Shape::ThreePart}, {art::kSortArrow, 2, false}, {art::kScrollThumb, 4, true},
    {art::kScrollUp, 4, true}, {art::kScrollDown, 4, true}, {art::kScrollTrack, 4, true}, {art::kScrollGrip, 4, true},
};

std::unique_ptr<CSomBitmap> MakePicture(const Picture& p) {
    switch (p.shape) {
    case Shape::NinePart:  // the window background
        return std::make_unique<CSomBitmap9Part>(p.resource, p.frames, 30, 336, 40, 93);
    case Shape::ThreePart:  // the list header
        return std::make_unique<CSomBitmapHorizen3Part>(p.resource, p.frames, 2, 3);
    case Shape::Plain:
        break;
    }
    return std::make_unique<CSomBitmap>(p.resource, CSomBitmap::kPng, p.frames, p.vertical);
}

HBITMAP MakeShadePixel(DWORD*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* made = nullptr;
    HBITMAP pixel = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &made, nullptr, 0);
    bits = static_cast<DWORD*>(made);
    return pixel;
}

}  // namespace

SkinResources::SkinResources()
    : lightBrush(CreateSolidBrush(kLightBackground)), shadePixel_(MakeShadePixel(shadeBits_)) {
    for (const Picture& picture : kPictures) bitmaps.emplace_back(picture.resource, MakePicture(picture));
}

SkinResources::~SkinResources() {
    DeleteObject(lightBrush);
    if (shadePixel_) DeleteObject(shadePixel_);
}

void SkinResources::DarkenRect(HDC dc, const RECT& rect, BYTE alpha) {
    if (!shadePixel_) return;
    GdiFlush();  // a drawing call still in the queue may read the pixel
    *shadeBits_ = static_cast<DWORD>(alpha) << 24;
    HDC memory = SharedMemoryDC();
    const GdiSelect selected(memory, shadePixel_);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory, 0, 0, 1, 1, blend);
}

CSomBitmap* SkinResources::Bitmap(int resource) const {
    for (const auto& [number, bitmap] : bitmaps) {
        if (number == resource) return bitmap.get();
    }
    return nullptr;
}

void CreateSkinResources() {
    if (g_skin) return;
    SharedMemoryDC();
    PaintBackBuffer::Create();
    g_skin = new SkinResources;
}

void DestroySkinResources() {
    delete g_skin;
    g_skin = nullptr;
    PaintBackBuffer::Destroy();
    ReleaseSharedMemoryDC();
}

SkinResources* Skin() { return g_skin; }

}  // namespace skin
