#pragma once
// The image button: a face picture of four frames (normal, hover, pressed, disabled) with an
// optional icon centred on it. A click, reported on release over the button, reaches the host as
// WM_COMMAND with the button's id.
#include "ui/skin/host/som_wnd.h"
#include "ui/skin/picture/som_bitmap.h"

namespace skin {

// A control that knows whether the pointer is over it and repaints when that changes: the base
// of the skin's buttons and tabs.
class CSomHoverWnd : public CSomWnd {
public:
    bool IsHovered() const { return hover_; }

    void OnMouseEnter(POINT) override { SetHover(true); }
    void OnMouseLeave() override { SetHover(false); }

protected:
    void SetHover(bool hover) {
        if (hover == hover_) return;
        hover_ = hover;
        Invalidate();
    }

    bool hover_ = false;
};

class CSomButton3 : public CSomHoverWnd {
public:
    // Resizes an auto-size button to one frame and repaints it.
    void SetFaceBitmap(CSomBitmap* face);
    void SetIcon(CSomBitmap* icon, int frame);
    bool IsPressed() const { return pressed_; }

    void OnCreate() override;
    void Paint(HDC dc, int limit, int part) override;
    void OnCaptureLost() override;
    bool OnLButtonDown(POINT point) override;
    bool OnLButtonUp(POINT point) override;
    bool OnLButtonDblClk(POINT point) override { return OnLButtonDown(point); }

private:
    bool pressed_ = false;
    CSomBitmap* icon_ = nullptr;
    int iconFrame_ = 0;
    CSomBitmap* face_ = nullptr;
};

}  // namespace skin
