#include "app/tool_store.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

#include "app/tool_image.h"
#include "win/app_module.h"

namespace app {

namespace {

struct LoadedResource {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
};

LoadedResource LoadToolResource(const wchar_t* type, unsigned id) {
    HMODULE module = win::Module().Instance() ? win::Module().Instance() : GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return {};
    return {static_cast<const uint8_t*>(LockResource(loaded)), SizeofResource(module, found)};
}

}  // namespace

std::wstring ExtractTool(const wchar_t* resourceType, unsigned resourceId, const wchar_t* fileName) {
    const LoadedResource image = LoadToolResource(resourceType, resourceId);

    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length > MAX_PATH) return {};
    if (!PathAppendW(folder, L"adb_local")) return {};
    if (!PathIsDirectoryW(folder)) SHCreateDirectoryExW(nullptr, folder, nullptr);

    wchar_t destination[MAX_PATH] = {};
    if (!PathCombineW(destination, folder, fileName)) return {};

    // A read-only copy left by someone else must not stop a later update of the folder.
    SetFileAttributesW(destination, FILE_ATTRIBUTE_NORMAL);
    if (PathFileExistsW(destination)) return destination;

    if (!UnpackToolImage(image.bytes, image.size, destination)) return {};
    return destination;
}

}  // namespace app
