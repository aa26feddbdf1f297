#pragma once
// Program versions as the version block holds them: four 16-bit numbers, written "a.b.c.d". They
// are ordered by their numbers, first to last, so that 1.10.0.0 comes after 1.9.0.0.
#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>

namespace update {

struct VersionNumber {
    std::array<uint16_t, 4> parts{};
    auto operator<=>(const VersionNumber&) const = default;
};

// From the fixed file-version record's two halves (most and least significant).
VersionNumber VersionFromFixedInfo(uint32_t mostSignificant, uint32_t leastSignificant);

// "a.b.c.d"; one to four decimal numbers of at most 65535 separated by dots, the missing ones 0.
// Nothing for anything else (an empty text, a sign, a blank, an empty part, a fifth part).
std::optional<VersionNumber> ParseVersion(const std::wstring& text);

std::wstring FormatVersion(const VersionNumber& version);

// Whether offered names a version after local. A local text that is no version (the program's
// own version block could not be read) comes before every version; an offered text that is no
// version is never newer.
bool IsNewerVersion(const std::wstring& offered, const std::wstring& local);

}  // namespace update
