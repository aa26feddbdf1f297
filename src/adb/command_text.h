#pragma once
// Text rules of the ADB command runner that need no platform: macro substitution, scripts, and the
// two paths derived from the client's and the program's own path.
#include <string>
#include <vector>

namespace adb {

// Replaces every occurrence of from (case-sensitive, left to right, non-overlapping).
std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to);

// One command per "\r\n"-terminated line; an empty line is an empty command, and text after the
// last "\r\n" is not a command.
std::vector<std::wstring> SplitScript(const std::wstring& script);

// The client's folder: its path with every "\adb.exe" removed, at most 259 characters.
std::wstring WorkingDirectoryFor(const std::wstring& adbPath);

// The command log beside the program: its path with the extension replaced by ".log".
std::wstring CommandLogPathFor(const std::wstring& programPath);

}  // namespace adb
