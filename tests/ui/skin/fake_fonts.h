#pragma once
// A font table whose handles are recognisable addresses: slot N is &marks[N].
#include "ui/skin/text/text_run.h"

namespace skin_test {

class FakeFonts : public skin::IFontTable {
public:
    skin::FontHandle SlotFont(int slot) const override { return const_cast<char*>(&marks_[slot]); }
    skin::FontHandle ForMarkup(int fontNumber) const { return SlotFont(fontNumber - 1); }

private:
    char marks_[10] = {};
};

}  // namespace skin_test
