#include "adb/command_set.h"

#include <algorithm>

namespace adb {

namespace {
wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

bool HasLineStartingWith(const std::wstring& text, const std::wstring& start) {
    for (size_t line = 0;;) {
        if (ContainsNoCase(text.substr(line, start.size()), start)) return true;
        const size_t end = text.find(L'\n', line);
        if (end == std::wstring::npos) return false;
        line = end + 1;
    }
}

}  // namespace

std::wstring BoxText(BoxAddress box) {
    if (box == kNoBox) return {};
    std::wstring text;
    for (int i = 0; i < 4; ++i) {
        if (i) text += L'.';
        text += std::to_wstring((box >> (8 * i)) & 0xFF);
    }
    return text;
}

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

bool ContainsNoCase(const std::wstring& text, const std::wstring& what) {
    return std::search(text.begin(), text.end(), what.begin(), what.end(),
                       [](wchar_t a, wchar_t b) { return AsciiLower(a) == AsciiLower(b); }) != text.end();
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
