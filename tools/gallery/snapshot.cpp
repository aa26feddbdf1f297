#include "snapshot.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <memory>

namespace gallery {

namespace {

bool PngEncoder(CLSID& clsid) {
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (!size || Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

// Saves the bitmap and deletes it.
bool SaveBitmapAsPng(HBITMAP bitmap, const std::wstring& path) {
    CLSID png{};
    bool saved = false;
    if (PngEncoder(png)) {
        Gdiplus::Bitmap picture(bitmap, nullptr);
        saved = picture.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    DeleteObject(bitmap);
    return saved;
}

// A bitmap of the screen's kind filled by fill(memory DC).
template <class Fill>
HBITMAP Render(int width, int height, Fill fill) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    fill(memory, screen);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace

bool SaveClientAsPng(HWND window, const std::wstring& path) {
    RECT client{};
    GetClientRect(window, &client);
    return SaveBitmapAsPng(Render(client.right, client.bottom, [window](HDC memory, HDC) {
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    }), path);
}

bool SaveScreenAsPng(const RECT& area, const std::wstring& path) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    return SaveBitmapAsPng(Render(width, height, [&](HDC memory, HDC screen) {
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    }), path);
}

bool WriteLines(const std::wstring& path, const std::vector<std::string>& lines) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    for (const std::string& line : lines) std::fprintf(file, "%s\n", line.c_str());
    return std::fclose(file) == 0;
}

}  // namespace gallery
