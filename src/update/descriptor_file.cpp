#include "update/descriptor_file.h"

#include <windows.h>

#include <vector>

namespace update {

namespace {

std::wstring ReadKey(const std::wstring& path, const wchar_t* key, DWORD capacity) {
    std::vector<wchar_t> value(capacity + 1, L'\0');
    GetPrivateProfileStringW(L"main", key, L"", value.data(), capacity + 1, path.c_str());
    return value.data();
}

}  // namespace

UpdateDescriptor ReadUpdateDescriptor(const std::wstring& path) {
    UpdateDescriptor descriptor;
    descriptor.version = ReadKey(path, L"version", 259);
    descriptor.url = ReadKey(path, L"url", 2083);
    // A SHA-256 is 64 hex digits and an RSA-2048 signature 344 base64 characters: a value that
    // does not fit is cut short, and then fails its check.
    descriptor.sha256 = ReadKey(path, L"sha256", 128);
    descriptor.sig = ReadKey(path, L"sig", 1024);
    return descriptor;
}

}  // namespace update
