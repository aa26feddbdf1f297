#include "base/box_address.h"

namespace base {

std::wstring BoxText(BoxAddress box) {
    if (box == kNoBox) return {};
    std::wstring text;
    for (int i = 0; i < 4; ++i) {
        if (i) text += L'.';
        text += std::to_wstring((box >> (8 * i)) & 0xFF);
    }
    return text;
}

BoxAddress BoxFromText(std::wstring_view text) {
    BoxAddress box = 0;
    size_t at = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (at >= text.size() || text[at] != L'.') return kNoBox;
            ++at;
        }
        uint32_t value = 0;
        const size_t first = at;
        while (at < text.size() && text[at] >= L'0' && text[at] <= L'9' && at - first < 3)
            value = value * 10 + static_cast<uint32_t>(text[at++] - L'0');
        if (at == first || value > 255) return kNoBox;
        box |= value << (8 * octet);
    }
    return at == text.size() ? box : kNoBox;
}

}  // namespace base
