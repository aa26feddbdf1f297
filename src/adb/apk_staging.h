#pragma once
// The client never sees the user's own path: every APK is copied to a private staging folder
// ("%TEMP%\mivoraapk") under a generated name and installed from there.
#include <cstdint>
#include <string>

namespace adb {

// "mivora_apk_%04d.apk": the cookie in decimal, zero-padded to at least four digits.
std::wstring StagedFileName(int32_t cookie);

// The staged path for a cookie; empty while the temporary folder cannot be found.
std::wstring StagingPath(int32_t cookie);

// Copies source to staged, replacing an older copy. False when either path is empty, the source is
// missing (a file already at staged then stays) or the copy could not be made.
bool StageApk(const std::wstring& source, const std::wstring& staged);

}  // namespace adb
