#pragma once
// The ten caption fonts that markup's font=1..10 selects: the default GUI font's description on the
// "微软雅黑" face, at 12, 14, 16, 18 and 24 pixels, each normal and bold.
#include <windows.h>

#include "ui/skin/text_run.h"

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

private:
    HFONT fonts_[kCount] = {};
};

}  // namespace skin
