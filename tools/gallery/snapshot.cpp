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

}  // namespace

bool SaveClientAsPng(HWND window, const std::wstring& path) {
    RECT client{};
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    SelectObject(memory, previous);
    DeleteDC(memory);

    CLSID png{};
    bool saved = false;
    if (PngEncoder(png)) {
        Gdiplus::Bitmap picture(bitmap, nullptr);
        saved = picture.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    DeleteObject(bitmap);
    return saved;
}

bool WriteLines(const std::wstring& path, const std::vector<std::string>& lines) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    for (const std::string& line : lines) std::fprintf(file, "%s\n", line.c_str());
    return std::fclose(file) == 0;
}

}  // namespace gallery
