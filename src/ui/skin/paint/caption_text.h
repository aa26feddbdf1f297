#pragma once
// Captions that controls draw straight with the platform's text drawing, in the skin's fonts.
#include <windows.h>

#include <string>

namespace skin {

// The skin font that markup's font=N names (1 to 10), or null without a skin.
HFONT SkinFont(int fontNumber);

// Draws text in font and colour on a transparent background, then puts the dc's font, text
// colour and background mode back.
void DrawCaption(HDC dc, const std::wstring& text, HFONT font, COLORREF color, RECT rect, UINT format);

}  // namespace skin
