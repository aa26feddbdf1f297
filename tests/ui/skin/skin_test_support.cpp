#include "skin_test_support.h"

#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ostream>

#include "ui/skin/paint/skin_resources.h"

namespace skin_test {

namespace {

// GDI+ and the skin live for the whole test run, as they do in the program.
class SkinEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
        skin::CreateSkinResources();
    }
    void TearDown() override {
        skin::DestroySkinResources();
        Gdiplus::GdiplusShutdown(token_);
    }

private:
    ULONG_PTR token_ = 0;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
    Pump();
}

}  // namespace

Rgb ToRgb(COLORREF color) { return {GetRValue(color), GetGValue(color), GetBValue(color)}; }

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "rgb(" << c.r << ", " << c.g << ", " << c.b << ")";
}

bool Near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<const uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    Fill(fill);
}

Canvas::~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

Rgb Canvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {-1, -1, -1};
    GdiFlush();
    const uint32_t pixel = bits_[y * width_ + x];
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
}

void Canvas::Fill(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    const RECT all{0, 0, width_, height_};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

InkCount CountInk(const Canvas& canvas, const RECT& area, COLORREF background, COLORREF ink) {
    const Rgb bg = ToRgb(background), fg = ToRgb(ink);
    InkCount count;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const Rgb p = canvas.At(x, y);
            if (p == bg) continue;
            // The share of ink along the channel with the largest contrast, then the whole pixel
            // must match that blend.
            const int dr = fg.r - bg.r, dg = fg.g - bg.g, db = fg.b - bg.b;
            double t = 0;
            if (std::abs(dr) >= std::abs(dg) && std::abs(dr) >= std::abs(db))
                t = double(p.r - bg.r) / dr;
            else if (std::abs(dg) >= std::abs(db))
                t = double(p.g - bg.g) / dg;
            else
                t = double(p.b - bg.b) / db;
            const Rgb blend{static_cast<int>(std::lround(bg.r + t * dr)), static_cast<int>(std::lround(bg.g + t * dg)),
                            static_cast<int>(std::lround(bg.b + t * db))};
            if (t < -0.02 || t > 1.02 || !Near(p, blend, 6))
                ++count.foreign;
            else if (t > 0.8)
                ++count.strong;
        }
    }
    return count;
}

ScreenLock::ScreenLock() : mutex_(CreateMutexW(nullptr, FALSE, L"MivoraTestScreen")) {
    WaitForSingleObject(mutex_, INFINITE);  // an abandoned lock is taken over as well
}

ScreenLock::~ScreenLock() {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

HBRUSH TestHost::WindowClassBackground() {
    static HBRUSH brush = CreateSolidBrush(kHostBackground);
    return brush;
}

TestHost::TestHost(RECT screenRect) : screenRect_(screenRect) { Open(); }

void TestHost::Open() {
    // Shown without activation: Wine waits two seconds when an active window without a window
    // manager goes away.
    Create(nullptr, screenRect_, L"skin test host", WS_POPUP, WS_EX_TOPMOST);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(Handle());
    Pump();
}

TestHost::~TestHost() {
    if (IsWindow()) DestroyWindow(Handle());
    Pump(10);
}

POINT TestHost::ScreenPoint(int clientX, int clientY) const {
    POINT point{clientX, clientY};
    ClientToScreen(hwnd_, &point);
    return point;
}

void TestHost::PrintClient(Canvas& canvas) {
    SendMessageW(hwnd_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
}

Rgb TestHost::SurfacePixel(int x, int y) {
    HDC dc = GetDC(hwnd_);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(hwnd_, dc);
    return ToRgb(color);
}

LRESULT TestHost::OnCommand(UINT, WPARAM wParam, LPARAM lParam, bool&) {
    commands.emplace_back(wParam, lParam);
    return 0;
}

LRESULT TestHost::OnMouseMove(UINT, WPARAM, LPARAM, bool&) {
    ++hostMouseMoves;
    return 0;
}

void Pump(int quietMs) {
    for (;;) {
        MSG msg;
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (any) continue;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, quietMs, QS_ALLINPUT) == WAIT_TIMEOUT) return;
    }
}

void MouseMove(POINT screen) {
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const LONG dx = static_cast<LONG>((screen.x * 65536LL + width - 1) / width);
    const LONG dy = static_cast<LONG>((screen.y * 65536LL + height - 1) / height);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
}

void MouseDown() { SendMouse(MOUSEEVENTF_LEFTDOWN); }
void MouseUp() { SendMouse(MOUSEEVENTF_LEFTUP); }

void Click(POINT screen) {
    MouseMove(screen);
    MouseDown();
    MouseUp();
}

}  // namespace skin_test
