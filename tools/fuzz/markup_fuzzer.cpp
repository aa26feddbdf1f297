// libFuzzer target for the caption markup parser. The input bytes are UTF-16LE code units; the
// parse must not crash, must not read past the text, and must keep its promises about runs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/skin/text/markup_numbers.h"
#include "ui/skin/text/markup_parser.h"

namespace {

class Fonts : public skin::IFontTable {
public:
    skin::FontHandle SlotFont(int slot) const override {
        if (slot < 0 || slot > 9) std::abort();
        return const_cast<char*>(&marks_[slot]);
    }
    bool Owns(skin::FontHandle font) const {
        return !font || (font >= marks_ && font < static_cast<const void*>(marks_ + 10));
    }

private:
    char marks_[10] = {};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    const Fonts fonts;
    size_t textLength = 0;
    for (const skin::TextRun& run : skin::ParseMarkup(text.c_str(), fonts)) {
        if (run.text.empty() || !fonts.Owns(run.font)) std::abort();
        textLength += run.text.size();
        skin::ButtonLinkCommand(run.link);
    }
    if (textLength > text.find(L'\0')) std::abort();
    return 0;
}
