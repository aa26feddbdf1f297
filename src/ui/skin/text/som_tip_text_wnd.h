#pragma once
// A caption with a tooltip over its words: the runs before its first link (a count and what it
// counts), not the links after them, which do something when clicked.
#include "ui/skin/text/run_layout.h"
#include "ui/skin/text/som_text_wnd.h"
#include "ui/skin/tooltip/som_wnd_tip_impl.h"

namespace skin {

class CSomTipTextWnd : public CSomWndTipImpl<CSomTextWnd> {
public:
    void OnMouseEnter(POINT point) override {
        const RunRect words = LeadingTextBounds(Runs());
        if (!TipText().empty() && Manager() && words.right > words.left) {
            const RECT region{words.left, words.top, words.right, words.bottom};
            Manager()->AddTip(this, 0, &region);
        }
        CSomTextWnd::OnMouseEnter(point);
    }
};

}  // namespace skin
