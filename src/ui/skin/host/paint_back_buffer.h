#pragma once
// The off-screen surface (1024 x 128, compatible with the screen) in which transparent controls
// are composed over the host background before they reach the screen, so they do not flicker.
// Made at start-up, released at exit; without it controls are painted directly.
#include <windows.h>

namespace skin {

class PaintBackBuffer {
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 128;

    static void Create();
    static void Destroy();
    static HDC DC();  // null when not created
    static bool Fits(const RECT& r) {
        return r.right - r.left <= kWidth && r.bottom - r.top <= kHeight;
    }
};

}  // namespace skin
