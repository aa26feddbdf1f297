#pragma once
// The host of windowless controls in one real window's client area: a window (the main window, a
// skinned dialog, the picker) holds one and chains its message table first
// (WIN_CHAIN_MSG_MAP_MEMBER). Registration order is z-order, first on top. Under the controls lies
// the window class's brush, or a backdrop: a picture stretched over the client area (nine-part for
// the skin's window picture) with pictures laid over it at their natural size.
#include <windows.h>

#include <vector>

#include "ui/skin/host/control_host.h"
#include "ui/skin/picture/som_bitmap.h"

namespace skin {

// A picture of the backdrop, drawn at its natural size with its top-left corner at `at`.
struct BackdropLayer {
    CSomBitmap* picture = nullptr;
    int frame = 0;
    POINT at{};
};

class CSomWndManager : public CSomWndHost {
public:
    void AddWnd(CSomWnd* wnd) override;
    void PaintBackground(HDC dc, const RECT* rect) override;
    void PaintWnds(HDC dc, const RECT& rect) override;

    // Null: the window class's brush.
    void SetBackdrop(CSomBitmap* stretched) { backdrop_ = stretched; }
    // Replaces the layers; where a layer comes or goes the window is painted again at once.
    void SetBackdropLayers(std::vector<BackdropLayer> layers);

protected:
    void UnlistWnd(CSomWnd& wnd) override;
    void ForEachWnd(const std::function<void(CSomWnd&)>& visit) override;
    void DetachWnds() override;
    bool WndOrigin(const CSomWnd&, POINT& origin) const override;
    CSomWnd* WndAt(POINT point) const override;
    void PaintArea(HDC dc, const RECT& area) override;
    void RepaintNow(HDC dc, CSomWnd& wnd, const RECT& area, int part) override;

private:
    void PaintWnd(HDC dc, CSomWnd& wnd, bool paintBackground, int part);
    // Whether a visible control registered before wnd lies in area.
    bool Overlapped(const CSomWnd& wnd, const RECT& area) const;

    std::vector<CSomWnd*> controls_;
    CSomBitmap* backdrop_ = nullptr;
    std::vector<BackdropLayer> layers_;
};

}  // namespace skin
