#pragma once
// Windows' file functions take paths of fewer than 260 characters unless the path is written in
// its extended-length form ("\\?\C:\..." or "\\?\UNC\server\share\..."), which lifts the limit to
// about 32 000. A dropped APK may lie deeper than that limit.
#include <string>

namespace adb {

// Paths shorter than kLongPath, and paths that are not absolute drive or network paths, come back
// as they are; longer ones in their extended-length form, with "/" turned into "\".
std::wstring LongPathForm(const std::wstring& path);
// Shorter than any limit of the file functions (a folder's own is 248 characters).
constexpr size_t kLongPath = 248;

}  // namespace adb
