#include "adb/command_set.h"

namespace adb {

namespace {
bool HasLineStartingWith(std::wstring_view text, std::wstring_view start) {
    for (size_t line = 0;;) {
        if (base::StartsWithNoCase(text.substr(line), start)) return true;
        const size_t end = text.find(L'\n', line);
        if (end == std::wstring_view::npos) return false;
        line = end + 1;
    }
}
}  // namespace

std::wstring FormatTemplate(const wchar_t* pattern, const std::wstring& first, const std::wstring& second) {
    std::wstring text = pattern;
    const std::wstring* values[] = {&first, &second};
    size_t at = 0;
    for (const std::wstring* value : values) {
        at = text.find(L"%s", at);
        if (at == std::wstring::npos) break;
        text.replace(at, 2, *value);
        at += value->size();
    }
    return text;
}

int32_t ClassifyConnect(const std::wstring& output) {
    return ContainsNoCase(output, L"connected") ? Connected : NotConnected;
}

int32_t ClassifyInstall(const std::wstring& output, uint32_t exitCode) {
    if (exitCode == 0 && HasLineStartingWith(output, L"Success")) return Success;
    if (ContainsNoCase(output, L"INSTALL_FAILED_ALREADY_EXISTS")) return AlreadyExists;
    if (ContainsNoCase(output, L"INSTALL_FAILED_INVALID_URI")) return InvalidUri;
    return Failed;
}

}  // namespace adb
