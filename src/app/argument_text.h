#pragma once
// The program's arguments, recovered from the whole command line by the rules the self-update and
// the shell rely on (the program path may be quoted, cut, or spelled in another letter case).
#include <string>

namespace app {

constexpr size_t kArgumentTextCapacity = 4167;

// The command line without the program's own path; empty when nothing follows it.
// longModulePath is the program's full path in its long form.
std::wstring ExtractArgumentText(const std::wstring& commandLine, const std::wstring& longModulePath);

// The integer value that follows key ("/update:" and the like); 0 when key is absent or the value
// is not numeric. found tells whether key was present at all.
int FindOptionValue(const std::wstring& argumentText, const std::wstring& key, bool& found);

// "-adblog" anywhere (case-sensitive, even inside a longer word) turns the command log on.
bool WantsCommandLog(const std::wstring& argumentText);

}  // namespace app
