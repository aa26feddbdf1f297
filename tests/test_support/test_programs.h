#pragma once
// Paths of the helper programs that the test build puts beside the test executables.
#include <windows.h>

#include <string>

namespace test_support {

inline std::wstring TestProgram(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1) + name;
}

}  // namespace test_support
