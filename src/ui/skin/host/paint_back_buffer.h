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

    // Limits drawing into the buffer to a rectangle (in its current logical coordinates) for one
    // scope, so that whatever composes a background there draws only what shows.
    class Clip {
    public:
        explicit Clip(const RECT& area);
        ~Clip();
        Clip(const Clip&) = delete;
        Clip& operator=(const Clip&) = delete;
    };
};

}  // namespace skin
