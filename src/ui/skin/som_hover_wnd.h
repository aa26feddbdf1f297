#pragma once
// A control that knows whether the pointer is over it and repaints when that changes: the base
// of the skin's buttons and tabs.
#include "ui/skin/som_wnd.h"

namespace skin {

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

}  // namespace skin
