#pragma once
// A TV box as the whole program knows it: its IPv4 address, held as the socket layer holds it
// (network byte order, first octet in the lowest byte). The discovery worker finds boxes by it,
// the command engine addresses them by it, the window lists and picks them by it.
#include <cstdint>
#include <string>
#include <string_view>

namespace base {

using BoxAddress = uint32_t;
inline constexpr BoxAddress kNoBox = 0xFFFFFFFFu;

// The dotted quad; empty for kNoBox.
std::wstring BoxText(BoxAddress box);
// The address of a dotted quad of four decimal numbers up to 255; kNoBox for any other text.
BoxAddress BoxFromText(std::wstring_view text);

}  // namespace base
