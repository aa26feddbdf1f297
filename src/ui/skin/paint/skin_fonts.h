#pragma once
// The ten caption fonts that markup's font=1..10 selects: the default GUI font's description on the
// "微软雅黑" face, at 12, 14, 16, 18 and 24 pixels, each normal and bold; and the underlined copies
// that hovered links are drawn in, each made once, when it is first wanted.
#include <windows.h>

#include <map>

#include "ui/skin/text/text_run.h"

namespace skin {

class SkinFonts : public IFontTable {
public:
    static constexpr int kCount = 10;

    SkinFonts();
    ~SkinFonts();
    SkinFonts(const SkinFonts&) = delete;
    SkinFonts& operator=(const SkinFonts&) = delete;

    HFONT Handle(int slot) const { return slot >= 0 && slot < kCount ? fonts_[slot] : nullptr; }
    FontHandle SlotFont(int slot) const override { return Handle(slot); }
    // The font with the underline attribute on; kept until the fonts are destroyed.
    HFONT Underlined(HFONT font);

private:
    HFONT fonts_[kCount] = {};
    std::map<HFONT, HFONT> underlined_;
};

}  // namespace skin
