#include "adb/progress_lines.h"

#include <algorithm>

namespace adb {

namespace {

constexpr std::string_view kPrefix = "progress: ";
// Longer than any progress line: a line that grows past it is some other text, not kept.
constexpr size_t kLongestLine = 64;

// The decimal number at the start of text (at most 19 digits, so it fits); its digits are taken.
std::optional<uint64_t> TakeNumber(std::string_view& text) {
    size_t digits = 0;
    uint64_t value = 0;
    while (digits < text.size() && digits < 19 && text[digits] >= '0' && text[digits] <= '9')
        value = value * 10 + static_cast<uint64_t>(text[digits++] - '0');
    if (digits == 0) return std::nullopt;
    text.remove_prefix(digits);
    return value;
}

template <class Text>
Text TrimLineEnd(Text line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

std::optional<int32_t> ProgressPercent(std::string_view line) {
    line = TrimLineEnd(line);
    if (!line.starts_with(kPrefix)) return std::nullopt;
    line.remove_prefix(kPrefix.size());
    const auto sent = TakeNumber(line);
    if (!sent || !line.starts_with('/')) return std::nullopt;
    line.remove_prefix(1);
    const auto total = TakeNumber(line);
    if (!total || !line.empty() || *sent > *total) return std::nullopt;
    if (*sent == *total) return 100;
    constexpr uint64_t kLargest = UINT64_MAX / 100;
    // Only a whole upload is 100%; dividing the total first may round a part up to it.
    const uint64_t percent = *total <= kLargest ? *sent * 100 / *total : *sent / (*total / 100);
    return static_cast<int32_t>(std::min<uint64_t>(percent, 99));
}

std::optional<int32_t> ProgressLines::Feed(std::string_view bytes) {
    std::optional<int32_t> percent;
    for (const char c : bytes) {
        if (line_.size() < kLongestLine) line_.push_back(c);
        if (c != '\n') continue;
        if (const auto told = ProgressPercent(line_)) percent = told;
        line_.clear();
    }
    return percent;
}

std::wstring WithoutProgressLines(const std::wstring& output) {
    std::wstring kept;
    for (size_t start = 0; start < output.size();) {
        size_t end = output.find(L'\n', start);
        end = end == std::wstring::npos ? output.size() : end + 1;
        const std::wstring_view line(output.data() + start, end - start);
        std::string narrow;
        for (wchar_t c : line) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        if (line.back() != L'\n' || !ProgressPercent(narrow)) kept.append(line);
        start = end;
    }
    return kept;
}

}  // namespace adb
