#pragma once
// Shared pieces of the toolkit's Windows tests: GDI+ and the skin for the whole run, a memory
// canvas whose pixels can be read, a real host window with a control manager, and real mouse
// input through SendInput.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/skin/host/som_wnd_manager.h"
#include "win/window.h"

namespace skin_test {

struct Rgb {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
Rgb ToRgb(COLORREF color);
std::ostream& operator<<(std::ostream& out, const Rgb& c);
// Every channel within tolerance.
bool Near(const Rgb& a, const Rgb& b, int tolerance);

// A 32-bit top-down DIB selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    Rgb At(int x, int y) const;  // rgb(-1, -1, -1) outside the canvas
    void Fill(COLORREF color);
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    const uint32_t* bits_ = nullptr;
};

// How a text colour shows in a rectangle over a plain background: pixels that are a blend of the
// two (strong: mostly the colour) and pixels that belong to neither.
struct InkCount {
    int strong = 0, foreign = 0;
};
InkCount CountInk(const Canvas& canvas, const RECT& area, COLORREF background, COLORREF ink);

inline constexpr COLORREF kHostBackground = RGB(10, 20, 30);

// Test programs run side by side share one display and one pointer: whoever moves the pointer or
// shows a window that it reads back holds this lock (a named mutex of the Wine prefix) meanwhile.
class ScreenLock {
public:
    ScreenLock();
    ~ScreenLock();
    ScreenLock(const ScreenLock&) = delete;
    ScreenLock& operator=(const ScreenLock&) = delete;

private:
    HANDLE mutex_;
};

// A visible, topmost pop-up window at a known place on the screen that hosts controls.
class TestHost : public win::WindowImpl<TestHost> {
public:
    static UINT WindowClassStyle() { return CS_DBLCLKS; }
    static HBRUSH WindowClassBackground();

    explicit TestHost(RECT screenRect = {700, 400, 1100, 700});
    ~TestHost() override;

    WIN_BEGIN_MSG_MAP()
        WIN_CHAIN_MSG_MAP_MEMBER(manager)
        WIN_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WIN_MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    WIN_END_MSG_MAP()

    // Makes the window (again), shown at the place given at construction.
    void Open();
    POINT ScreenPoint(int clientX, int clientY) const;
    // Renders the client area as the manager paints it (WM_PRINTCLIENT).
    void PrintClient(Canvas& canvas);
    // Reads what is on the window's surface now, without waiting for a paint.
    Rgb SurfacePixel(int x, int y);

    skin::CSomWndManager manager;
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    int hostMouseMoves = 0;

private:
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, bool&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, bool&);
    ScreenLock lock_;
    RECT screenRect_;
};

// Dispatches this thread's messages until none has arrived for quietMs.
void Pump(int quietMs = 40);
// Dispatches messages until done() or timeoutMs passed; returns done().
template <class Done>
bool PumpUntil(Done done, int timeoutMs = 2000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return false;
        Pump(10);
    }
    return true;
}

// Real pointer input (SendInput), in screen coordinates; each call pumps afterwards.
void MouseMove(POINT screen);
void MouseDown();
void MouseUp();
void Click(POINT screen);

}  // namespace skin_test
