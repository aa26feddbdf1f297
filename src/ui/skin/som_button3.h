#pragma once
// The image button: a face picture of four frames (normal, hover, pressed, disabled) with an
// optional icon centred on it. A click, reported on release over the button, reaches the host as
// WM_COMMAND with the button's id.
#include "ui/skin/som_bitmap.h"
#include "ui/skin/som_hover_wnd.h"

namespace skin {

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
