#pragma once
// What the skin's large buttons share: the panel button and the toolbar tabs react on the press
// (no capture), draw captions in a text colour that turns grey when disabled, and auto-size to a
// size of their own.
#include <windows.h>

#include "ui/skin/som_hover_wnd.h"

namespace skin {

class CLFSkinButton : public CSomHoverWnd {
public:
    static constexpr COLORREF kDisabledCaption = 0x808080;

    void SetTextColor(COLORREF color);

    void OnCreate() override;
    bool OnLButtonUp(POINT) override { return true; }
    bool OnLButtonDblClk(POINT point) override { return OnLButtonDown(point); }

protected:
    // The size an auto-size button takes.
    virtual SIZE NaturalSize() const = 0;
    COLORREF CaptionColor() const { return IsEnabled() ? textColor_ : kDisabledCaption; }

private:
    COLORREF textColor_ = 0xFFFFFF;
};

}  // namespace skin
