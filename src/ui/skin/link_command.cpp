#include "ui/skin/link_command.h"

#include "ui/skin/number_text.h"

namespace skin {

std::optional<int32_t> ButtonLinkCommand(std::wstring_view link) {
    constexpr std::wstring_view kPrefix = L"button:";
    if (!StartsWithAsciiNoCase(link, kPrefix)) return std::nullopt;
    const std::wstring_view number = link.substr(kPrefix.size());
    if (StartsWithAsciiNoCase(number, L"0x")) return ReadInteger(number.substr(2), 16);
    return ReadInteger(number, 10);
}

}  // namespace skin
