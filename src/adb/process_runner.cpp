#include "adb/process_runner.h"

#include <windows.h>

#include "adb/carried_client.h"
#include "adb/command_log.h"
#include "adb/command_text.h"

namespace adb {

bool CommandLogEnabled = false;

namespace {

std::wstring g_adbPath;
std::wstring g_workingDirectory;
bool g_carriedClient = false;

std::wstring FromUtf8(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(size > 0 ? size : 0, L'\0');
    if (size > 0) MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

ClientLaunch Launch(const std::wstring& command) {
    ClientLaunch launch = ClientCommandLine(command, g_adbPath);
    launch.console = !g_carriedClient;
    return launch;
}

}  // namespace

void SetAdbPath(const std::wstring& path) {
    g_adbPath = path;
    g_workingDirectory = WorkingDirectoryFor(path);
    g_carriedClient = IsCarriedClient(path);
}

const std::wstring& AdbPath() { return g_adbPath; }

bool CarriedClient() { return g_carriedClient; }

CommandOutcome DoCommand(const std::wstring& command, std::wstring& out, const ChildLimits& limits,
                         const ChildWatch& watch) {
    const bool logging = CommandLogEnabled;
    const DWORD started = GetTickCount();
    if (logging) WriteCommandLog(L"<-----before DoCommand " + command + L"\r\n");

    const ChildRun run = RunChild(Launch(command), g_workingDirectory, limits, watch);
    out = FromUtf8(run.output);

    if (logging) {
        WriteCommandLog(out);
        WriteCommandLog(L"----->after time=" + std::to_wstring(static_cast<int>(GetTickCount() - started)) +
                        L" DoCommand " + command + L"\r\n");
    }
    return {run.end, run.exitCode};
}

void RunScript(const std::wstring& script, std::wstring& out, const ChildLimits& limits) {
    for (const std::wstring& command : SplitScript(script)) {
        std::wstring output;
        DoCommand(command, output, limits);
        out += output;
    }
}

bool StartCommand(const std::wstring& command) {
    return StartChild(Launch(command), g_workingDirectory);
}

}  // namespace adb
