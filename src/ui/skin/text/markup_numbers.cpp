#include "ui/skin/text/markup_numbers.h"

#include <limits>

#include "base/ascii_text.h"

namespace skin {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

int DigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'z') return c - L'a' + 10;
    if (c >= L'A' && c <= L'Z') return c - L'A' + 10;
    return 99;
}

}  // namespace

int32_t ReadInteger(std::wstring_view text, int radix) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    // wcstol lets a base-16 number carry its own "0x" after the sign.
    if (radix == 16 && i + 2 < text.size() && text[i] == L'0' && base::AsciiLower(text[i + 1]) == L'x' &&
        DigitValue(text[i + 2]) < 16)
        i += 2;
    constexpr int64_t kMagnitudeLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit >= radix) break;
        magnitude = magnitude * radix + digit;
        if (magnitude > kMagnitudeLimit) magnitude = kMagnitudeLimit;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

int32_t ReadColorValue(std::wstring_view text) {
    if (!text.empty() && text[0] == L'#') return ReadInteger(text.substr(1), 16);
    if (text.size() >= 2 && text[0] == L'0' && base::AsciiLower(text[1]) == L'x')
        return ReadInteger(text.substr(2), 16);
    return ReadInteger(text, 10);
}

std::optional<int32_t> ButtonLinkCommand(std::wstring_view link) {
    constexpr std::wstring_view kPrefix = L"button:";
    if (!base::StartsWithNoCase(link, kPrefix)) return std::nullopt;
    const std::wstring_view number = link.substr(kPrefix.size());
    if (base::StartsWithNoCase(number, L"0x")) return ReadInteger(number.substr(2), 16);
    return ReadInteger(number, 10);
}

}  // namespace skin
