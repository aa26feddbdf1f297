#pragma once
// A GDI region owned until it is handed to a window as its outline.
#include <windows.h>

namespace win {

class Region {
public:
    // A rectangle with corners rounded by ellipses of the given size.
    static Region RoundRect(const RECT& rect, int ellipseWidth, int ellipseHeight);
    ~Region();
    Region(Region&& other) noexcept : region_(other.region_) { other.region_ = nullptr; }
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;
    Region& operator=(Region&&) = delete;

    HRGN Handle() const { return region_; }
    // Makes one pixel part of the region.
    void AddPixel(int x, int y);
    // The window takes the region as its outline (and owns it from then on).
    bool ApplyTo(HWND window, bool redraw);

private:
    explicit Region(HRGN region) : region_(region) {}
    HRGN region_;
};

}  // namespace win
