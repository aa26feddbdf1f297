#pragma once
// Our client tells how far the upload of an APK has come, on lines of their own:
// "progress: SENT/TOTAL" (bytes), each line written out as it is made (adb.exe help says so).
// Google's client writes nothing of the kind. The engine reads them as the output arrives.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace adb {

// Set in a client's environment, it asks our client for those lines; without it the client prints
// what Google's prints, no more.
inline constexpr wchar_t kProgressVariable[] = L"MIVORA_ADB_PROGRESS";

// The percent a progress line tells (0 to 100), or nothing for any other line; the line may end
// in "\r" and "\n".
std::optional<int32_t> ProgressPercent(std::string_view line);

// Reads output in the pieces it arrives in, lines cut anywhere.
class ProgressLines {
public:
    // The percent of the last whole progress line in the bytes, if there is one.
    std::optional<int32_t> Feed(std::string_view bytes);

private:
    std::string line_;  // the start of the line still being written
};

// The output without its progress lines: what the client had to say besides.
std::wstring WithoutProgressLines(const std::wstring& output);

}  // namespace adb
