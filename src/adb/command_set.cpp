#include "adb/command_set.h"

namespace adb {

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

int32_t ClassifyInstall(const std::wstring& output) {
    if (ContainsNoCase(output, L"Success")) return Success;
    if (ContainsNoCase(output, L"INSTALL_FAILED_ALREADY_EXISTS")) return AlreadyExists;
    if (ContainsNoCase(output, L"INSTALL_FAILED_INVALID_URI")) return InvalidUri;
    return Failed;
}

}  // namespace adb
