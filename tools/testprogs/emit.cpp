// A console program that prints exactly what its arguments ask for, so that the process runner is
// tested against a real child. Arguments run in order:
//   out:TEXT  err:TEXT   TEXT to stdout / stderr; "^n", "^r", "^0" and "^^" are escapes (not the
//                        backslash, which paths are full of)
//   rep:N:C              the character C, N times, to stdout
//   sleep:MS             pause
//   cwd                  the current directory to stdout, in UTF-8 as the ADB clients print
//   exit:N               end with exit code N
//   handles              how many handles this process holds, to stdout (a child that inherited
//                        more of its parent's handles holds more)
//   stdin                reads standard input to its end; how many bytes, to stdout
//   spawn:ARG            starts emit.exe ARG, which inherits this process's handles (its output
//                        pipe with them), and does not wait for it
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

std::string Unescape(const wchar_t* text) {
    std::string bytes;
    for (const wchar_t* p = text; *p; ++p) {
        wchar_t c = *p;
        if (c == L'^' && p[1]) {
            ++p;
            c = *p == L'n' ? L'\n' : *p == L'r' ? L'\r' : *p == L'0' ? L'\0' : *p;
        }
        char utf8[8];
        const int n = WideCharToMultiByte(CP_UTF8, 0, &c, 1, utf8, sizeof(utf8), nullptr, nullptr);
        bytes.append(utf8, n > 0 ? n : 0);
    }
    return bytes;
}

void Write(DWORD which, const std::string& bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(which), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        const wchar_t* arg = argv[i];
        if (!wcsncmp(arg, L"out:", 4)) {
            Write(STD_OUTPUT_HANDLE, Unescape(arg + 4));
        } else if (!wcsncmp(arg, L"err:", 4)) {
            Write(STD_ERROR_HANDLE, Unescape(arg + 4));
        } else if (!wcsncmp(arg, L"rep:", 4)) {
            wchar_t* end = nullptr;
            const long count = wcstol(arg + 4, &end, 10);
            if (end && *end == L':' && end[1]) Write(STD_OUTPUT_HANDLE, std::string(count, static_cast<char>(end[1])));
        } else if (!wcsncmp(arg, L"sleep:", 6)) {
            Sleep(static_cast<DWORD>(_wtoi(arg + 6)));
        } else if (!wcscmp(arg, L"cwd")) {
            wchar_t dir[MAX_PATH] = {};
            GetCurrentDirectoryW(MAX_PATH, dir);
            std::string utf8(MAX_PATH * 4, '\0');
            utf8.resize(WideCharToMultiByte(CP_UTF8, 0, dir, -1, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr) - 1);
            Write(STD_OUTPUT_HANDLE, utf8);
        } else if (!wcsncmp(arg, L"exit:", 5)) {
            return _wtoi(arg + 5);
        } else if (!wcscmp(arg, L"handles")) {
            int count = 0;
            for (uintptr_t value = 4; value < 0x10000; value += 4) {
                DWORD flags = 0;
                if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
            }
            Write(STD_OUTPUT_HANDLE, std::to_string(count));
        } else if (!wcscmp(arg, L"stdin")) {
            char buffer[256];
            DWORD read = 0;
            size_t total = 0;
            while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) && read) total += read;
            Write(STD_OUTPUT_HANDLE, std::to_string(total));
        } else if (!wcsncmp(arg, L"spawn:", 6)) {
            wchar_t self[MAX_PATH] = {};
            GetModuleFileNameW(nullptr, self, MAX_PATH);
            std::wstring line = L"\"" + std::wstring(self) + L"\" " + (arg + 6);
            STARTUPINFOW startup{};
            startup.cb = sizeof(startup);
            PROCESS_INFORMATION process{};
            if (CreateProcessW(self, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
                CloseHandle(process.hThread);
                CloseHandle(process.hProcess);
            }
        }
    }
    return 0;
}
