// Starts one client command through the engine's process runner, without waiting for it, and ends
// at once: tests see whether the client outlives the program that started it.
//   runner_host <client> [ARG...]   runs "<client> ARG..." as the engine runs "$adb$ ARG..."
#include <windows.h>

#include <string>

#include "adb/process_runner.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    adb::SetAdbPath(argv[1]);
    std::wstring command = L"$adb$";
    for (int i = 2; i < argc; ++i) command += std::wstring(L" ") + argv[i];
    return adb::StartCommand(command) ? 0 : 1;
}
