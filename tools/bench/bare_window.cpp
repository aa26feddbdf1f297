// The baseline of the start-up benchmark: the least a Win32 program of ours does to put one skin
// picture on the screen. It opens a borderless window of the main window's size, centred as the
// main window is, decodes the drop-area picture from its PNG resource with GDI+ and paints it where
// the install page paints it. The benchmark times it from start to that picture on the screen,
// exactly as it times the program (main_window.py).
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstring>
#include <memory>

namespace {

constexpr int kWidth = 900, kHeight = 600;
constexpr int kPicture = 10030, kPictureTop = 200;

HBITMAP g_picture = nullptr;
SIZE g_size{};

HBITMAP DecodePicture() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kPicture), L"PNG");
    const DWORD size = found ? SizeofResource(module, found) : 0;
    const void* bytes = found ? LockResource(LoadResource(module, found)) : nullptr;
    if (!bytes || !size) return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return nullptr;
    std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    HBITMAP bitmap = nullptr;
    if (SUCCEEDED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream));
        if (decoded && decoded->GetLastStatus() == Gdiplus::Ok) decoded->GetHBITMAP(Gdiplus::Color(0), &bitmap);
        decoded.reset();
        stream->Release();
    }
    return bitmap;
}

void Paint(HWND window) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, g_picture);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, (kWidth - g_size.cx) / 2, kPictureTop, g_size.cx, g_size.cy, memory, 0, 0, g_size.cx, g_size.cy, blend);
    SelectObject(memory, previous);
    DeleteDC(memory);
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    g_picture = DecodePicture();
    BITMAP info{};
    if (!g_picture || !GetObjectW(g_picture, sizeof(info), &info)) return 1;
    g_size = {info.bmWidth, info.bmHeight};

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"MivoraBareWindow";
    RegisterClassExW(&wc);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    CreateWindowExW(WS_EX_APPWINDOW, wc.lpszClassName, nullptr, WS_POPUP | WS_VISIBLE,
                    work.left + (work.right - work.left - kWidth) / 2, work.top + (work.bottom - work.top - kHeight) / 2,
                    kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DeleteObject(g_picture);
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
