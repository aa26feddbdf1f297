#include "update/file_version.h"

#include <windows.h>

#include <vector>

#include "update/version_number.h"

namespace update {

namespace {

constexpr DWORD kLargestVersionBlock = 16383;

using GetSizeFn = DWORD(WINAPI*)(LPCWSTR file, LPDWORD handle);
using GetInfoFn = BOOL(WINAPI*)(LPCWSTR file, DWORD handle, DWORD size, LPVOID data);
using QueryValueFn = BOOL(WINAPI*)(LPCVOID block, LPCWSTR subBlock, LPVOID* value, PUINT size);

template <class Fn>
Fn Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

std::wstring FileVersionText(const std::wstring& path) {
    // The version library is looked up when it is needed rather than loaded with the program.
    HMODULE library = LoadLibraryW(L"version.dll");
    if (!library) return {};
    const auto getSize = Lookup<GetSizeFn>(library, "GetFileVersionInfoSizeW");
    const auto getInfo = Lookup<GetInfoFn>(library, "GetFileVersionInfoW");
    const auto queryValue = Lookup<QueryValueFn>(library, "VerQueryValueW");
    std::wstring text;
    DWORD unused = 0;
    const DWORD size = getSize && getInfo && queryValue ? getSize(path.c_str(), &unused) : 0;
    if (size && size <= kLargestVersionBlock) {
        std::vector<BYTE> block(size);
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT fixedSize = 0;
        if (getInfo(path.c_str(), 0, size, block.data()) &&
            queryValue(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) && fixed &&
            fixedSize >= sizeof(VS_FIXEDFILEINFO))
            text = FormatVersion(VersionFromFixedInfo(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
    }
    FreeLibrary(library);
    return text;
}

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (!length || length >= MAX_PATH) return {};
    wchar_t longPath[MAX_PATH] = L"";
    const DWORD longLength = GetLongPathNameW(path, longPath, MAX_PATH);
    return longLength && longLength < MAX_PATH ? longPath : path;
}

std::wstring ProgramVersionText() { return FileVersionText(ProgramPath()); }

}  // namespace update
