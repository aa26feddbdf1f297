#include "ui/skin/skin_resources.h"

#include "ui/skin/paint_back_buffer.h"
#include "ui/skin/shared_dc.h"
#include "ui/skin/som_bitmap_parts.h"

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
    {10001, 1, false, Shape::NinePart}, {10006, 4, false}, {10014, 2, false}, {10015, 1, false},
    {10016, 1, false}, {10017, 1, false}, {10018, 1, false}, {10026, 1, false}, {10027, 1, false},
    {10028, 1, false}, {10025, 2, false}, {10029, 1, false}, {10030, 1, false}, {10031, 1, false},
    {10033, 1, false}, {10032, 8, false}, {10034, 1, false}, {10022, 3, false}, {10002, 12, false},
    {10003, 8, false}, {10012, 4, false}, {10013, 4, false}, {10023, 4, false}, {10024, 4, false},
    {10019, 8, false}, {10020, 1, false}, {10004, 4, false, Shape::ThreePart}, {10005, 2, false},
    {10007, 4, true}, {10008, 4, true}, {10009, 4, true}, {10010, 4, true}, {10011, 4, true},
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

}  // namespace

SkinResources::SkinResources() : lightBrush(CreateSolidBrush(kLightBackground)) {
    for (const Picture& picture : kPictures) bitmaps.emplace_back(picture.resource, MakePicture(picture));
}

SkinResources::~SkinResources() { DeleteObject(lightBrush); }

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
