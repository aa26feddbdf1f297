#include "adb/long_path.h"

#include <algorithm>

namespace adb {

namespace {
bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
}  // namespace

std::wstring LongPathForm(const std::wstring& path) {
    if (path.size() < kLongPath) return path;
    std::wstring slashed = path;
    std::replace(slashed.begin(), slashed.end(), L'/', L'\\');
    if (slashed.starts_with(L"\\\\?\\")) return slashed;
    if (slashed.size() >= 3 && IsLetter(slashed[0]) && slashed[1] == L':' && IsSeparator(slashed[2]))
        return L"\\\\?\\" + slashed;
    if (slashed.starts_with(L"\\\\") && slashed.size() > 2 && !IsSeparator(slashed[2]) && slashed[2] != L'.')
        return L"\\\\?\\UNC\\" + slashed.substr(2);
    return path;
}

}  // namespace adb
