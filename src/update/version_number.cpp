#include "update/version_number.h"

namespace update {

VersionNumber VersionFromFixedInfo(uint32_t mostSignificant, uint32_t leastSignificant) {
    return {{static_cast<uint16_t>(mostSignificant >> 16), static_cast<uint16_t>(mostSignificant & 0xFFFF),
             static_cast<uint16_t>(leastSignificant >> 16), static_cast<uint16_t>(leastSignificant & 0xFFFF)}};
}

std::optional<VersionNumber> ParseVersion(const std::wstring& text) {
    VersionNumber version;
    size_t part = 0, digits = 0;
    uint32_t value = 0;
    for (const wchar_t c : text) {
        if (c == L'.') {
            if (!digits || ++part == version.parts.size()) return std::nullopt;
            digits = value = 0;
        } else if (c >= L'0' && c <= L'9') {
            value = value * 10 + static_cast<uint32_t>(c - L'0');
            if (value > 0xFFFF) return std::nullopt;
            version.parts[part] = static_cast<uint16_t>(value);
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    return version;
}

std::wstring FormatVersion(const VersionNumber& version) {
    std::wstring text;
    for (const uint16_t part : version.parts) {
        if (!text.empty()) text += L'.';
        text += std::to_wstring(part);
    }
    return text;
}

bool IsNewerVersion(const std::wstring& offered, const std::wstring& local) {
    const std::optional<VersionNumber> newer = ParseVersion(offered);
    if (!newer) return false;
    const std::optional<VersionNumber> running = ParseVersion(local);
    return !running || *newer > *running;
}

}  // namespace update
