#include "base/ascii_text.h"

#include <algorithm>

namespace base {

namespace {
bool SameLetter(wchar_t a, wchar_t b) { return AsciiLower(a) == AsciiLower(b); }
}  // namespace

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameLetter);
}

bool ContainsNoCase(std::wstring_view text, std::wstring_view what) {
    return std::search(text.begin(), text.end(), what.begin(), what.end(), SameLetter) != text.end();
}

}  // namespace base
