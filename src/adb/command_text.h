#pragma once
// Text rules of the ADB command runner that need no platform: macro substitution, scripts, the
// client's command line, and the two paths derived from the client's and the program's own path.
#include <string>
#include <vector>

namespace adb {

// Replaces every occurrence of from (case-sensitive, left to right, non-overlapping).
std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to);

// One command per "\r\n"-terminated line; an empty line is an empty command, and text after the
// last "\r\n" is not a command.
std::vector<std::wstring> SplitScript(const std::wstring& script);

// What the system is asked to start for one command text.
struct ClientLaunch {
    std::wstring program;      // the client's full path; empty when there is nothing to start
    std::wstring commandLine;  // the client's path in double quotes, then the arguments
    // Whether it is given a (hidden) console: a client that starts console programs of its own
    // (Google's, its server) needs one, or theirs would show.
    bool console = true;
};

// A command text begins with "$adb$", which names the client. The client is started by its full
// path and that path is quoted as the first argument, so that no folder name (blanks, Chinese,
// "&", "%", "^") is split or read as something else, and no program planted at a shorter path runs
// instead. Later "$adb$" are arguments and get the path as it is. Without a client, or for a text
// that does not begin with the macro, there is nothing to start.
ClientLaunch ClientCommandLine(const std::wstring& command, const std::wstring& adbPath);

// The client's folder: its path with every "\adb.exe" removed, at most 259 characters.
std::wstring WorkingDirectoryFor(const std::wstring& adbPath);

// The command log beside the program: its path with the extension replaced by ".log".
std::wstring CommandLogPathFor(const std::wstring& programPath);

}  // namespace adb
