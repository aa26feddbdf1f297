#pragma once
// Numbers inside markup tags and link targets, read the way wcstol reads them (leading blanks, one
// sign, digits of the base up to the first other character, none giving 0), but clamped to the
// signed 32-bit range on every platform: the C library's long is 64 bits wide on some.
#include <cstdint>
#include <string_view>

namespace skin {

int32_t ReadInteger(std::wstring_view text, int base);

// A colour value: "#" then hex digits, "0x"/"0X" then hex digits, otherwise decimal.
int32_t ReadColorValue(std::wstring_view text);

// True when text begins with prefix, comparing the ASCII letters A-Z without case.
bool StartsWithAsciiNoCase(std::wstring_view text, std::wstring_view prefix);

}  // namespace skin
