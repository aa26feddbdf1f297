#include "adb/app_commands.h"

#include <algorithm>

#include "adb/command_set.h"

namespace adb {

namespace {

bool IsForbiddenInName(wchar_t c) {
    return c < 0x20 || c == 0x7F || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices, with any extension.
bool IsDeviceName(std::wstring_view name) {
    const std::wstring_view stem = name.substr(0, name.find(L'.'));
    const auto is = [&](std::wstring_view device) { return base::EqualsNoCase(stem, device); };
    if (is(L"CON") || is(L"PRN") || is(L"AUX") || is(L"NUL")) return true;
    return stem.size() == 4 && (base::StartsWithNoCase(stem, L"COM") || base::StartsWithNoCase(stem, L"LPT")) &&
           stem[3] >= L'1' && stem[3] <= L'9';
}

}  // namespace

std::wstring PullCommand(const std::vector<std::wstring>& remotePaths, const std::wstring& folder) {
    std::wstring command = L"$adb$ -s $ip$:5555 pull";
    for (const std::wstring& path : remotePaths) command += L" \"" + path + L"\"";
    // A quote right after a backslash would be taken as a quote inside the argument.
    const bool endsWithBackslash = !folder.empty() && folder.back() == L'\\';
    return command + L" \"" + (endsWithBackslash ? folder.substr(0, folder.size() - 1) : folder) + L"\"";
}

bool ClientLacksBox(const std::wstring& output) {
    // A line of the client's own (Google's may first tell of its server starting), never words
    // inside a line a box printed.
    for (size_t start = 0; start < output.size();) {
        const size_t end = std::min(output.find(L'\n', start), output.size());
        const std::wstring_view line = std::wstring_view(output).substr(start, end - start);
        if ((base::StartsWithNoCase(line, L"error: device '") && base::ContainsNoCase(line, L"' not found")) ||
            base::StartsWithNoCase(line, L"error: no devices/emulators found"))
            return true;
        start = end + 1;
    }
    return false;
}

bool PullFoundNoFile(const std::wstring& output) { return ContainsNoCase(output, L"' does not exist"); }

int32_t ClassifyOpen(const std::wstring& output) {
    return ContainsNoCase(output, L"Events injected: 1") ? Success : Failed;
}

int32_t ClassifyPull(const std::wstring& output, uint32_t exitCode) {
    return exitCode == 0 && ContainsNoCase(output, L" pulled") ? Success : Failed;
}

std::wstring ExportName(const std::wstring& label, const std::wstring& package, const std::wstring& versionName) {
    std::wstring name = label.empty() ? package : label;
    if (!versionName.empty()) name += L"_" + versionName;
    for (wchar_t& c : name)
        if (IsForbiddenInName(c)) c = L'_';
    if (name.size() > kMaxExportName) name.resize(kMaxExportName);
    // Windows drops trailing dots and blanks, which would make two names one.
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
    while (!name.empty() && name.front() == L' ') name.erase(name.begin());
    if (name.empty()) name = package;
    if (IsDeviceName(name)) name.insert(name.begin(), L'_');
    return name;
}

std::wstring NumberedName(const std::wstring& name, int n, const std::wstring& extension) {
    return n <= 1 ? name + extension : name + L" (" + std::to_wstring(n) + L")" + extension;
}

}  // namespace adb
