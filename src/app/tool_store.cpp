#include "app/tool_store.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "app/tool_image.h"
#include "win/app_module.h"

namespace app {

namespace {

constexpr DWORD kCompareChunk = 64 * 1024;

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

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length > MAX_PATH) return {};
    return folder;
}

// "adb_local", then "adb_local.1", "adb_local.2", ...
std::wstring ToolsFolder(const std::wstring& temp, int index) {
    const std::wstring name = index ? L"adb_local." + std::to_wstring(index) : L"adb_local";
    wchar_t folder[MAX_PATH] = {};
    if (!PathCombineW(folder, temp.c_str(), name.c_str())) return {};
    return folder;
}

bool FileHolds(const std::wstring& path, const std::vector<uint8_t>& data) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool same = GetFileSizeEx(file, &size) && static_cast<uint64_t>(size.QuadPart) == data.size();
    std::vector<uint8_t> chunk(kCompareChunk);
    for (size_t at = 0; same && at < data.size();) {
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(chunk.size(), data.size() - at));
        DWORD read = 0;
        same = ReadFile(file, chunk.data(), wanted, &read, nullptr) && read == wanted &&
               std::memcmp(chunk.data(), data.data() + at, wanted) == 0;
        at += wanted;
    }
    CloseHandle(file);
    return same;
}

// A run killed while writing leaves its part-written copy behind; one still writing holds its copy
// open, so that it cannot be deleted under it.
void RemovePartialCopies(const std::wstring& destination) {
    const std::wstring folder = destination.substr(0, destination.rfind(L'\\') + 1);
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((destination + L".*.partial").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// Writes data under a name of its own beside destination, then moves it into place in one step.
bool Replace(const std::wstring& destination, const std::vector<uint8_t>& data) {
    const std::wstring partial = destination + L"." + std::to_wstring(GetCurrentProcessId()) + L".partial";
    const HANDLE file =
        CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool complete = WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
                    written == data.size();
    complete = CloseHandle(file) && complete;
    if (complete && MoveFileExW(partial.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(partial.c_str());
    return false;
}

}  // namespace

ToolPlacement ExtractTool(const wchar_t* resourceType, unsigned resourceId, const std::wstring& folder,
                          const wchar_t* fileName, std::wstring& path) {
    const LoadedResource resource = LoadToolResource(resourceType, resourceId);
    std::vector<uint8_t> image;
    if (!InflateToolImage(resource.bytes, resource.size, image)) return ToolPlacement::NoImage;

    if (!PathIsDirectoryW(folder.c_str())) SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    wchar_t destination[MAX_PATH] = {};
    if (!PathCombineW(destination, folder.c_str(), fileName)) return ToolPlacement::CannotReplace;
    // A read-only copy left by someone else must not stop its replacement.
    SetFileAttributesW(destination, FILE_ATTRIBUTE_NORMAL);
    RemovePartialCopies(destination);
    if (!FileHolds(destination, image) && !Replace(destination, image)) return ToolPlacement::CannotReplace;
    path = destination;
    return ToolPlacement::Placed;
}

std::vector<std::wstring> ExtractTools(const std::vector<ToolFile>& tools) {
    const std::wstring temp = TempFolder();
    for (int index = 0; index < kMaxToolFolders && !temp.empty(); ++index) {
        const std::wstring folder = ToolsFolder(temp, index);
        if (folder.empty()) break;
        std::vector<std::wstring> paths(tools.size());
        bool usable = true;
        for (size_t i = 0; i < tools.size() && usable; ++i) {
            usable = ExtractTool(kToolResourceType, tools[i].resourceId, folder, tools[i].fileName, paths[i]) !=
                     ToolPlacement::CannotReplace;
        }
        if (usable) return paths;
    }
    return std::vector<std::wstring>(tools.size());
}

}  // namespace app
