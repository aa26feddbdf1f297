// libFuzzer target for the caption markup parser and the line layout of what it gives. The input
// bytes are UTF-16LE code units; the parse must not crash, must not read past the text, and must
// keep its promises about runs; the runs it gives lie side by side, each found where it is drawn.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_check.h"
#include "ui/skin/text/markup_numbers.h"
#include "ui/skin/text/markup_parser.h"
#include "ui/skin/text/run_layout.h"

namespace {

class Fonts : public skin::IFontTable {
public:
    skin::FontHandle SlotFont(int slot) const override {
        FUZZ_CHECK(slot >= 0 && slot <= 9);
        return const_cast<char*>(&marks_[slot]);
    }
    bool Owns(skin::FontHandle font) const {
        return !font || (font >= marks_ && font < static_cast<const void*>(marks_ + 10));
    }

private:
    char marks_[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};  // each slot's number
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    const Fonts fonts;
    size_t textLength = 0;
    std::vector<skin::TextRun> runs = skin::ParseMarkup(text.c_str(), fonts);
    std::vector<skin::RunExtent> extents;
    for (const skin::TextRun& run : runs) {
        FUZZ_CHECK(!run.text.empty() && fonts.Owns(run.font));
        textLength += run.text.size();
        skin::ButtonLinkCommand(run.link);
        // As a font would measure it: bigger slots draw wider and taller.
        const int32_t scale = run.font ? 7 + static_cast<const char*>(run.font)[0] : 6;
        extents.push_back({static_cast<int32_t>(run.text.size()) * scale, 2 * scale});
    }
    FUZZ_CHECK(textLength <= text.find(L'\0'));

    const skin::RunExtent line = skin::PlaceRunsOnLine(runs, extents);
    int32_t x = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        const skin::RunRect& bounds = runs[i].bounds;
        FUZZ_CHECK(bounds.left == x && bounds.bottom == line.cy && bounds.top >= 0);
        FUZZ_CHECK(skin::RunIndexAt(runs, bounds.left, bounds.top) == static_cast<int>(i));
        x = bounds.right;
    }
    FUZZ_CHECK(x == line.cx && skin::RunIndexAt(runs, line.cx, 0) == -1);
    return 0;
}
