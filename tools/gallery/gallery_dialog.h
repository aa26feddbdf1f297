#pragma once
// The skinned dialog as the gallery shows it: a caption and a button with a tooltip on the skin's
// dialog background, the close button in its corner, and a real tooltip window.
#include <windows.h>

#include "ui/skin/lf_dialog.h"
#include "ui/skin/som_text_wnd.h"
#include "ui/skin/som_wnd_tip_impl.h"

namespace gallery {

class GalleryDialog : public skin::CLFDialog {
public:
    static constexpr SIZE kSize{300, 200};
    static constexpr POINT kTipButtonAt{20, 110};

    // Screen position of the dialog's top-left corner.
    POINT place{};
    HWND toolTip = nullptr;
    skin::CSomWndTipImpl<skin::CSomButton3> tipButton;

    bool ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    skin::CSomTextWnd title_;
    skin::CSomTextWnd hint_;
};

}  // namespace gallery
