#pragma once
// Link targets of the form "button:N" carry the command number that a click reports to the host.
#include <cstdint>
#include <optional>
#include <string_view>

namespace skin {

// The command of a "button:" target (ASCII case ignored): hex after "0x"/"0X", else decimal, no
// digits giving 0. Any other target is not a command.
std::optional<int32_t> ButtonLinkCommand(std::wstring_view link);

}  // namespace skin
