#pragma once
// One styled stretch of a markup caption, as the parser cuts it and the text control lays it out.
// Platform-free: fonts are opaque handles that only the text control turns back into real ones.
#include <cstdint>
#include <string>

namespace skin {

using FontHandle = void*;

struct RunRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const RunRect&, const RunRect&) = default;
};

struct TextRun {
    std::wstring text;      // never empty
    RunRect bounds;         // control coordinates, set by layout
    FontHandle font = nullptr;  // null: the control's default font
    int32_t color = -1;     // 0x00BBGGRR in the low 24 bits; negative: the default for the run's kind
    std::wstring link;      // empty: plain text
    bool underline = false; // underlined while the pointer hovers over it
};

// The ten shared caption fonts, as the markup's font=1..10 selects them (slot = N - 1).
class IFontTable {
public:
    virtual FontHandle SlotFont(int slot) const = 0;

protected:
    ~IFontTable() = default;
};

}  // namespace skin
