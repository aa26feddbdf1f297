#include "adb/apk_staging.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace adb {

namespace {

// Kept once found; a failed lookup is tried again by the next request.
std::wstring StagingFolder() {
    static std::wstring folder;
    if (folder.empty()) {
        wchar_t path[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH, path);
        if (length && length <= MAX_PATH && PathAppendW(path, L"mivoraapk")) folder = path;
    }
    return folder;
}

}  // namespace

std::wstring StagingPath(int32_t cookie) {
    const std::wstring folder = StagingFolder();
    if (folder.empty()) return {};
    wchar_t path[MAX_PATH] = {};
    if (!PathCombineW(path, folder.c_str(), StagedFileName(cookie).c_str())) return {};
    return path;
}

bool StageApk(const std::wstring& source, const std::wstring& staged) {
    if (staged.empty() || source.empty()) return false;
    if (!PathFileExistsW(source.c_str())) return false;
    if (PathFileExistsW(staged.c_str())) {
        SetFileAttributesW(staged.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(staged.c_str());
    } else {
        wchar_t folder[MAX_PATH] = {};
        lstrcpynW(folder, staged.c_str(), MAX_PATH);
        PathRemoveFileSpecW(folder);
        SHCreateDirectoryExW(nullptr, folder, nullptr);
    }
    CopyFileW(source.c_str(), staged.c_str(), TRUE);
    return PathFileExistsW(staged.c_str()) != FALSE;
}

}  // namespace adb
