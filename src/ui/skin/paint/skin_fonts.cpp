#include "ui/skin/paint/skin_fonts.h"

#include <cwchar>

namespace skin {

namespace {

struct FontSize {
    int height;  // character height in pixels
    int weight;  // 0: the default GUI font's own weight
};

constexpr FontSize kSizes[SkinFonts::kCount] = {
    {12, 0}, {12, FW_BOLD}, {14, FW_NORMAL}, {14, FW_BOLD}, {16, FW_NORMAL},
    {16, FW_BOLD}, {18, FW_NORMAL}, {18, FW_BOLD}, {24, FW_NORMAL}, {24, FW_BOLD},
};

}  // namespace

SkinFonts::SkinFonts() {
    LOGFONTW base{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(base), &base);
    wcsncpy(base.lfFaceName, L"微软雅黑", LF_FACESIZE - 1);
    for (int slot = 0; slot < kCount; ++slot) {
        LOGFONTW font = base;
        font.lfHeight = -kSizes[slot].height;  // negative: character height, not cell height
        if (kSizes[slot].weight) font.lfWeight = kSizes[slot].weight;
        fonts_[slot] = CreateFontIndirectW(&font);
    }
}

SkinFonts::~SkinFonts() {
    for (HFONT font : fonts_) {
        if (font) DeleteObject(font);
    }
    for (const auto& [font, copy] : underlined_) {
        if (copy) DeleteObject(copy);
    }
}

HFONT SkinFonts::Underlined(HFONT font) {
    const auto found = underlined_.find(font);
    if (found != underlined_.end()) return found->second;
    LOGFONTW description{};
    if (!font || !GetObjectW(font, sizeof(description), &description)) return nullptr;
    description.lfUnderline = TRUE;
    return underlined_[font] = CreateFontIndirectW(&description);
}

}  // namespace skin
