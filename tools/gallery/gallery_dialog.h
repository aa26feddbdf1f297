#pragma once
// The skinned dialog as the gallery shows it: a caption and a button with a tooltip on the skin's
// dialog background, the close button in its corner, and a real tooltip window.
#include <windows.h>

#include "ui/skin/dialog/lf_dialog.h"
#include "ui/skin/text/som_text_wnd.h"
#include "ui/skin/tooltip/som_wnd_tip_impl.h"

namespace gallery {

class GalleryDialog : public skin::CLFDialog {
public:
    static constexpr SIZE kSize{300, 200};
    static constexpr POINT kTipButtonAt{20, 110};

    // Screen position of the dialog's top-left corner.
    POINT place{};
    HWND toolTip = nullptr;
    skin::CSomWndTipImpl<skin::CSomButton3> tipButton;

    WIN_BEGIN_MSG_MAP()
        WIN_CHAIN_MSG_MAP(CLFDialog)
        WIN_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    WIN_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, bool& handled);

    skin::CSomTextWnd title_;
    skin::CSomTextWnd hint_;
};

}  // namespace gallery
