#include "adb/process_runner.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "adb/command_text.h"

namespace adb {

bool CommandLogEnabled = false;

namespace {

std::wstring g_adbPath;
std::wstring g_workingDirectory;

constexpr size_t kCommandLineCapacity = 4096;
constexpr DWORD kReadChunk = 2047;

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string narrow(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                            size, nullptr, nullptr);
    return narrow;
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size > 0 ? size : 0, L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

void ReadUntilClosed(HANDLE pipe, std::string& out) {
    for (;;) {
        Sleep(1);
        // A zero byte in the child's output ends that chunk, as with any NUL-terminated read.
        char buffer[kReadChunk + 1] = {};
        DWORD read = 0;
        if (!ReadFile(pipe, buffer, kReadChunk, &read, nullptr) || read == 0) return;
        out.append(buffer);
    }
}

std::wstring ProgramPath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

}  // namespace

void SetAdbPath(const std::wstring& path) {
    g_adbPath = path;
    g_workingDirectory = WorkingDirectoryFor(path);
}

const std::wstring& AdbPath() { return g_adbPath; }

bool RunCommandLine(const std::wstring& commandLine, std::string& out, bool capture) {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return false;
    // Only the write end belongs in the child; an inherited read end would be one more copy to
    // close for nothing.
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.wShowWindow = SW_HIDE;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;

    std::vector<wchar_t> line(kCommandLineCapacity, L'\0');
    commandLine.copy(line.data(), kCommandLineCapacity - 1);

    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        g_workingDirectory.empty() ? nullptr : g_workingDirectory.c_str(),
                                        &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    if (capture) ReadUntilClosed(readEnd, out);
    CloseHandle(readEnd);
    return true;
}

void DoCommand(const std::wstring& command, std::wstring& out) {
    const bool logging = CommandLogEnabled;
    const DWORD started = GetTickCount();
    if (logging) WriteCommandLog(L"<-----before DoCommand " + command + L"\r\n");

    std::string narrow;
    RunCommandLine(ReplaceAll(command, L"$adb$", g_adbPath), narrow, true);
    out = FromAnsi(narrow);

    if (logging) {
        WriteCommandLog(out);
        WriteCommandLog(L"----->after time=" + std::to_wstring(static_cast<int>(GetTickCount() - started)) +
                        L" DoCommand " + command + L"\r\n");
    }
}

void RunScript(const std::wstring& script, std::wstring& out) {
    for (const std::wstring& command : SplitScript(script)) {
        std::wstring output;
        DoCommand(command, output);
        out += output;
    }
}

void WriteCommandLog(const std::wstring& text) {
    static std::wstring logPath;
    static bool haveEpoch = false;
    static DWORD epoch = 0;
    if (logPath.empty()) logPath = CommandLogPathFor(ProgramPath());

    // Binary mode: the records carry their own "\r\n", which text mode would turn into "\r\r\n".
    FILE* file = _wfopen(logPath.c_str(), L"ab");
    if (!file) return;
    if (!haveEpoch) {
        epoch = GetTickCount();
        haveEpoch = true;
    }
    const std::string header = "\r\n time:" + std::to_string(static_cast<int>(GetTickCount() - epoch)) + "\r\n";
    const std::string body = ToAnsi(text);
    fwrite(header.data(), 1, header.size(), file);
    fwrite(body.data(), 1, body.size(), file);
    fclose(file);
}

}  // namespace adb
