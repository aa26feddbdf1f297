#include "ui/skin/text/plain_text_wnd.h"

#include "ui/skin/paint/caption_text.h"

namespace skin {

void CPlainTextWnd::SetText(std::wstring text, int font, COLORREF color) {
    if (text == text_ && font == font_ && color == color_) return;
    text_ = std::move(text);
    font_ = font;
    color_ = color;
    Invalidate();
}

void CPlainTextWnd::Paint(HDC dc, int limit, int) {
    const int width = limit >= 0 && limit < Width() ? limit : Width();
    DrawCaption(dc, text_, SkinFont(font_), color_, RECT{0, 0, width, Height()},
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace skin
