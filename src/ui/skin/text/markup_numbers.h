#pragma once
// Numbers inside markup tags and link targets, read the way wcstol reads them (leading blanks, one
// sign, digits of the base up to the first other character, none giving 0), but clamped to the
// signed 32-bit range on every platform: the C library's long is 64 bits wide on some. Link targets
// of the form "button:N" carry the command number that a click reports to the host.
#include <cstdint>
#include <optional>
#include <string_view>

namespace skin {

int32_t ReadInteger(std::wstring_view text, int radix);

// A colour value: "#" then hex digits, "0x"/"0X" then hex digits, otherwise decimal.
int32_t ReadColorValue(std::wstring_view text);

// The command of a "button:" target (ASCII case ignored): hex after "0x"/"0X", else decimal, no
// digits giving 0. Any other target is not a command.
std::optional<int32_t> ButtonLinkCommand(std::wstring_view link);

}  // namespace skin
