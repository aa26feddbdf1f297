#pragma once
// Comparisons of text that ignore the case of the ASCII letters A to Z only, as the program's
// fixed texts want it: the client's output, markup tags, link targets, file extensions.
#include <string_view>

namespace base {

constexpr wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool ContainsNoCase(std::wstring_view text, std::wstring_view what);

}  // namespace base
