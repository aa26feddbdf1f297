#include "adb/command_text.h"

namespace adb {

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
    if (from.empty()) return text;
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::vector<std::wstring> SplitScript(const std::wstring& script) {
    std::vector<std::wstring> commands;
    size_t start = 0;
    for (size_t end = script.find(L"\r\n"); end != std::wstring::npos; end = script.find(L"\r\n", start)) {
        commands.push_back(script.substr(start, end - start));
        start = end + 2;
    }
    return commands;
}

ClientLaunch ClientCommandLine(const std::wstring& command, const std::wstring& adbPath) {
    static const std::wstring kClient = L"$adb$";
    if (adbPath.empty() || command.compare(0, kClient.size(), kClient) != 0) return {};
    return {adbPath, L"\"" + adbPath + L"\"" + ReplaceAll(command.substr(kClient.size()), kClient, adbPath)};
}

std::wstring WorkingDirectoryFor(const std::wstring& adbPath) {
    return ReplaceAll(adbPath, L"\\adb.exe", L"").substr(0, 259);
}

std::wstring CommandLogPathFor(const std::wstring& programPath) {
    // Only a dot of the file name counts: a program without an extension must not log into itself.
    const size_t slash = programPath.find_last_of(L"\\/");
    const size_t dot = programPath.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return programPath + L".log";
    return programPath.substr(0, dot) + L".log";
}

}  // namespace adb
