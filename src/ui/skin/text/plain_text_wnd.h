#pragma once
// One line of plain text as a windowless control: drawn as it is, never read as markup, so that
// text from outside (a box's app names) shows exactly and cannot change the look. Cut with an
// ellipsis where the control or its list column ends.
#include <windows.h>

#include <string>

#include "ui/skin/host/som_wnd.h"

namespace skin {

class CPlainTextWnd : public CSomWnd {
public:
    // font: markup's font number (1 to 10).
    void SetText(std::wstring text, int font = 1, COLORREF color = 0);
    const std::wstring& Text() const { return text_; }

    void Paint(HDC dc, int limit, int part) override;

private:
    std::wstring text_;
    int font_ = 1;
    COLORREF color_ = 0;
};

}  // namespace skin
