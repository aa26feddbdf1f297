#pragma once
// Selects a GDI object into a device context for one scope and puts the previous one back.
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

}  // namespace skin
