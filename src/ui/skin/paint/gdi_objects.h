#pragma once
// Small GDI helpers every control uses: selecting an object into a device context for one scope,
// and the process-wide memory device context, compatible with the screen, into which pictures are
// selected for one drawing call and on which captions are measured (UI thread only).
#include <windows.h>

namespace skin {

class GdiSelect {
public:
    GdiSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~GdiSelect() {
        if (previous_) SelectObject(dc_, previous_);
    }
    GdiSelect(const GdiSelect&) = delete;
    GdiSelect& operator=(const GdiSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

HDC SharedMemoryDC();  // made on first use
void ReleaseSharedMemoryDC();

}  // namespace skin
