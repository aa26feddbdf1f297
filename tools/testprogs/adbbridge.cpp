// Puts Debian's own adb (a Linux program) in the ADB client's place for tests under Wine. Wine
// cannot capture a Linux program's output through a pipe, so the bridge has a shell run it with its
// output in a file, waits for the exit code file, then replays the output and exits with that code.
// Windows paths among the arguments (the staged APK) are turned into Unix paths.
#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr const char* kLinuxAdb = "/usr/lib/android-sdk/platform-tools/adb";

using UnixNameFn = char*(CDECL*)(const wchar_t*);

std::string UnixPath(const std::wstring& windowsPath) {
    static const auto toUnix = reinterpret_cast<UnixNameFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    char* unix = toUnix(windowsPath.c_str());
    if (!unix) return {};
    std::string path = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return path;
}

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 4 + 1, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

bool LooksLikeWindowsPath(const std::wstring& arg) {
    return arg.size() > 2 && arg[1] == L':' && (arg[2] == L'\\' || arg[2] == L'/');
}

std::string Env(const wchar_t* name) {
    wchar_t value[1024] = {};
    return GetEnvironmentVariableW(name, value, 1024) ? Utf8(value) : std::string();
}

}  // namespace

int wmain() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);

    wchar_t tempDir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tempDir);
    wchar_t work[MAX_PATH] = {};
    GetTempFileNameW(tempDir, L"abr", 0, work);  // a unique name, used as a folder
    DeleteFileW(work);
    CreateDirectoryW(work, nullptr);
    const std::wstring dir = work;
    const std::string unixDir = UnixPath(dir);

    std::string command = "exec " + ShellQuoted(kLinuxAdb);
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        command += ' ';
        command += ShellQuoted(LooksLikeWindowsPath(arg) ? UnixPath(arg) : Utf8(arg));
    }
    std::ofstream script((dir + L"\\run.sh").c_str(), std::ios::binary);
    for (const wchar_t* name : {L"HOME", L"ANDROID_ADB_SERVER_PORT"}) {
        const std::string value = Env(name);
        if (!value.empty()) script << "export " << Utf8(name) << "=" << ShellQuoted(value) << "\n";
    }
    script << "( " << command << " ) >" << ShellQuoted(unixDir + "/out") << " 2>&1 </dev/null\n"
           << "echo $? >" << ShellQuoted(unixDir + "/rc.tmp") << "\n"
           << "mv " << ShellQuoted(unixDir + "/rc.tmp") << " " << ShellQuoted(unixDir + "/rc") << "\n";
    script.close();

    std::wstring shell = L"Z:\\bin\\sh \"" + std::wstring(unixDir.begin(), unixDir.end()) + L"/run.sh\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, shell.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                        &startup, &process))
        return 1;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);

    const std::wstring rcPath = dir + L"\\rc";
    while (GetFileAttributesW(rcPath.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(10);
    std::ifstream out((dir + L"\\out").c_str(), std::ios::binary);
    std::stringstream bytes;
    bytes << out.rdbuf();
    const std::string text = bytes.str();
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    int rc = 1;
    std::ifstream(rcPath.c_str()) >> rc;
    out.close();
    for (const wchar_t* name : {L"\\out", L"\\rc", L"\\run.sh"}) DeleteFileW((dir + name).c_str());
    RemoveDirectoryW(dir.c_str());
    return rc;
}
