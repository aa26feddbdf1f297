#include "adb/client/console.h"

#include <windows.h>

#include <string>

#include "adb/client/text_encoding.h"

namespace adb::client {

namespace {

void WriteTo(DWORD which, std::string_view utf8) {
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || utf8.empty()) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring text = Wide(utf8);
        WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    while (!utf8.empty()) {
        if (!WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) || written == 0) return;
        utf8.remove_prefix(written);
    }
}

}  // namespace

void Print(std::string_view utf8) { WriteTo(STD_OUTPUT_HANDLE, utf8); }
void PrintError(std::string_view utf8) { WriteTo(STD_ERROR_HANDLE, utf8); }

void PrintOutput(std::string_view out, std::string_view err) {
    Print(out);
    PrintError(err);
}

int Fail(std::string_view utf8) {
    PrintError(utf8);
    return 1;
}

}  // namespace adb::client
