#include "ui/skin/paint/caption_text.h"

#include "ui/skin/paint/gdi_objects.h"
#include "ui/skin/paint/skin_resources.h"

namespace skin {

HFONT SkinFont(int fontNumber) { return Skin() ? Skin()->fonts.Handle(fontNumber - 1) : nullptr; }

void DrawCaption(HDC dc, const std::wstring& text, HFONT font, COLORREF color, RECT rect, UINT format) {
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previous = SetTextColor(dc, color);
    {
        const GdiSelect selected(dc, font);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    }
    SetTextColor(dc, previous);
    SetBkMode(dc, mode);
}

}  // namespace skin
