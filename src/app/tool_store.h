#pragma once
// The ADB client and its two libraries travel inside the program as tool images and are written
// once to "%TEMP%\adb_local", where every later run finds and reuses them.
#include <string>

namespace app {

// The tool images are resources of this type: the client, then its two libraries.
inline constexpr const wchar_t* kToolResourceType = L"FILE";
inline constexpr unsigned kAdbTool = 20001, kAdbWinApiTool = 20002, kAdbWinUsbApiTool = 20003;

// Writes the tool image resource (type, id) as fileName into the tools folder, or finds the file
// already there (used as it is). Returns its full path, or the empty string on failure.
std::wstring ExtractTool(const wchar_t* resourceType, unsigned resourceId, const wchar_t* fileName);

}  // namespace app
