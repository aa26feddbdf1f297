#include "adb/command_log.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "adb/command_text.h"

namespace adb {

namespace {

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr,
                            nullptr);
    return utf8;
}

std::wstring ProgramPath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

void RotateWhenFull(const std::wstring& logPath) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(logPath.c_str(), GetFileExInfoStandard, &data)) return;
    const uint64_t size = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    if (size >= kMaxCommandLogBytes) MoveFileExW(logPath.c_str(), (logPath + L".1").c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

void WriteCommandLog(const std::wstring& text) {
    static std::wstring logPath;
    static bool haveEpoch = false;
    static DWORD epoch = 0;
    if (logPath.empty()) logPath = CommandLogPathFor(ProgramPath());

    RotateWhenFull(logPath);
    // Binary mode: the records carry their own "\r\n", which text mode would turn into "\r\r\n".
    FILE* file = _wfopen(logPath.c_str(), L"ab");
    if (!file) return;
    if (!haveEpoch) {
        epoch = GetTickCount();
        haveEpoch = true;
    }
    const std::string header = "\r\n time:" + std::to_string(static_cast<int>(GetTickCount() - epoch)) + "\r\n";
    const std::string body = ToUtf8(text);
    fwrite(header.data(), 1, header.size(), file);
    fwrite(body.data(), 1, body.size(), file);
    fclose(file);
}

}  // namespace adb
