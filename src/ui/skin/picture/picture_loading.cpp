#include "ui/skin/picture/picture_loading.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>
#include <memory>

#include "ui/skin/picture/png_reading.h"

namespace skin {

namespace {

// AlphaBlend wants every colour channel already multiplied by its pixel's alpha.
void PremultiplyAlpha(HBITMAP bitmap) {
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 32 ||
        !dib.dsBm.bmBits)
        return;
    auto* rows = static_cast<BYTE*>(dib.dsBm.bmBits);
    for (LONG y = 0; y < dib.dsBm.bmHeight; ++y) {
        BYTE* pixel = rows + y * dib.dsBm.bmWidthBytes;
        for (LONG x = 0; x < dib.dsBm.bmWidth; ++x, pixel += 4) {
            const unsigned alpha = pixel[3];
            for (int channel = 0; channel < 3; ++channel) pixel[channel] = static_cast<BYTE>(pixel[channel] * alpha / 255);
        }
    }
}

HBITMAP ToHBitmap(Gdiplus::Bitmap* picture, Gdiplus::ARGB background) {
    HBITMAP bitmap = nullptr;
    if (picture && picture->GetLastStatus() == Gdiplus::Ok)
        picture->GetHBITMAP(Gdiplus::Color(background), &bitmap);
    return bitmap;
}

struct GlobalFreer {
    void operator()(void* block) const { GlobalFree(block); }
};

// A bottom-up 32-bit DIB section with the picture's pixels.
HBITMAP ToHBitmap(const PngPicture& picture) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.size.width;
    info.bmiHeader.biHeight = picture.size.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    const size_t width = static_cast<size_t>(picture.size.width);
    for (int32_t y = 0; y < picture.size.height; ++y)
        std::memcpy(static_cast<uint32_t*>(bits) + (picture.size.height - 1 - y) * width,
                    picture.pixels.data() + y * width, width * sizeof(uint32_t));
    return bitmap;
}

// Any PNG that the skin's own reader does not take, through GDI+.
HBITMAP DecodeWithGdiplus(const void* bytes, DWORD size) {
    // The stream must not free the block: it is freed here, after the picture is converted.
    std::unique_ptr<void, GlobalFreer> block(GlobalAlloc(GMEM_MOVEABLE, size));
    void* copy = block ? GlobalLock(block.get()) : nullptr;
    if (!copy) return nullptr;
    std::memcpy(copy, bytes, size);
    GlobalUnlock(block.get());

    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block.get(), FALSE, &stream))) return nullptr;
    HBITMAP bitmap = nullptr;
    {
        std::unique_ptr<Gdiplus::Bitmap> picture(Gdiplus::Bitmap::FromStream(stream));
        bitmap = ToHBitmap(picture.get(), 0);
    }
    stream->Release();
    return bitmap;
}

}  // namespace

HBITMAP LoadBmpPicture(int resource, const std::wstring& path) {
    HANDLE image = path.empty()
        ? LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0,
                     LR_CREATEDIBSECTION)
        : LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_LOADFROMFILE);
    auto* bitmap = static_cast<HBITMAP>(image);
    if (bitmap) PremultiplyAlpha(bitmap);
    return bitmap;
}

HBITMAP LoadPngResource(int resource) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resource), L"PNG");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(module, found) : 0;
    if (!bytes || !size) return nullptr;
    // The skin's pictures are read straight from their bytes: many times faster than GDI+.
    if (const auto picture = ReadPng(static_cast<const uint8_t*>(bytes), size)) return ToHBitmap(*picture);
    return DecodeWithGdiplus(bytes, size);
}

HBITMAP LoadPictureFile(const std::wstring& path) {
    std::unique_ptr<Gdiplus::Bitmap> picture(Gdiplus::Bitmap::FromFile(path.c_str()));
    return ToHBitmap(picture.get(), 0xFFFFFF);
}

}  // namespace skin
