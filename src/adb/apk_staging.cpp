#include "adb/apk_staging.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "adb/long_path.h"

namespace adb {

namespace {

uint64_t StartTimeOf(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return static_cast<uint64_t>(created.dwHighDateTime) << 32 | created.dwLowDateTime;
}

bool IsRunning(uint32_t processId, uint64_t startTime) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return false;
    DWORD exitCode = 0;
    const bool running = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE &&
                         StartTimeOf(process) == startTime;
    CloseHandle(process);
    return running;
}

// "%TEMP%\mivoraapk", kept once found; a failed lookup is tried again by the next request.
std::wstring StagingFolder() {
    static std::wstring folder;
    if (folder.empty()) {
        wchar_t path[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH, path);
        if (length && length <= MAX_PATH && PathAppendW(path, L"mivoraapk")) folder = path;
    }
    return folder;
}

std::wstring Combine(const std::wstring& folder, const std::wstring& name) {
    wchar_t path[MAX_PATH] = {};
    return PathCombineW(path, folder.c_str(), name.c_str()) ? path : std::wstring();
}

std::wstring RunFolder() {
    const std::wstring staging = StagingFolder();
    if (staging.empty()) return {};
    return Combine(staging, RunFolderName(GetCurrentProcessId(), StartTimeOf(GetCurrentProcess())));
}

// The size of a file (not a folder), and its attributes.
bool SizeOf(const std::wstring& path, uint64_t& bytes, DWORD* attributes = nullptr) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    bytes = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    if (attributes) *attributes = data.dwFileAttributes;
    return true;
}

// A hard link costs the same for any size where the staging folder is on the APK's volume; a copy
// otherwise. Never a link to a read-only APK: a link shares the file's attributes, so its removal
// could not make it writable without making the user's file writable.
bool LinkOrCopy(const std::wstring& source, DWORD attributes, const std::wstring& staged) {
    if (!(attributes & FILE_ATTRIBUTE_READONLY) && CreateHardLinkW(staged.c_str(), source.c_str(), nullptr))
        return true;
    return CopyFileW(source.c_str(), staged.c_str(), TRUE);
}

// How many names the file has; 0 when it cannot be asked.
DWORD LinkCount(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION information{};
    const DWORD links = GetFileInformationByHandle(file, &information) ? information.nNumberOfLinks : 0;
    CloseHandle(file);
    return links;
}

// Calls visit with the name of each entry of folder that matches pattern.
template <class Visit>
void ForEachEntry(const std::wstring& folder, const wchar_t* pattern, Visit visit) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Combine(folder, pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        visit(found);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void RemoveStagedCopies(const std::wstring& folder) {
    ForEachEntry(folder, L"mivora_apk_*.apk", [&](const WIN32_FIND_DATAW& entry) {
        if (IsStagedFileName(entry.cFileName)) RemoveStagedCopy(Combine(folder, entry.cFileName));
    });
}

}  // namespace

StagedApk StageApk(const std::wstring& apk) {
    // Only the engine's thread stages, one APK at a time.
    static int32_t lastNumber = 0;
    uint64_t bytes = 0;
    DWORD attributes = 0;
    const std::wstring folder = RunFolder();
    // A dropped APK may lie deeper than the file functions reach with an ordinary path.
    const std::wstring source = LongPathForm(apk);
    if (folder.empty() || source.empty() || !SizeOf(source, bytes, &attributes)) return {};
    // Made again when someone removed it meanwhile.
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    const std::wstring staged = Combine(folder, StagedFileName(++lastNumber));
    if (staged.empty()) return {};
    // Never over an existing file: whatever is there is not this APK.
    if (!LinkOrCopy(source, attributes, staged)) {
        if (GetLastError() != ERROR_FILE_EXISTS) DeleteFileW(staged.c_str());
        return {};
    }
    uint64_t copied = 0;
    if (!SizeOf(staged, copied) || copied != bytes) {
        RemoveStagedCopy(staged);
        return {};
    }
    return {staged, copied};
}

void RemoveStagedCopy(const std::wstring& staged) {
    if (DeleteFileW(staged.c_str()) || GetLastError() != ERROR_ACCESS_DENIED) return;
    // A copy of a read-only APK is read-only too. A link's attributes are the user's file's own.
    if (LinkCount(staged) != 1) return;
    SetFileAttributesW(staged.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(staged.c_str());
}

void RemoveStagingLeftovers() {
    const std::wstring staging = StagingFolder();
    if (staging.empty()) return;
    // Copies of versions that staged straight into the folder.
    RemoveStagedCopies(staging);
    ForEachEntry(staging, L"run-*", [&](const WIN32_FIND_DATAW& entry) {
        uint32_t processId = 0;
        uint64_t startTime = 0;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !ParseRunFolderName(entry.cFileName, processId, startTime) || IsRunning(processId, startTime))
            return;
        const std::wstring folder = Combine(staging, entry.cFileName);
        RemoveStagedCopies(folder);
        RemoveDirectoryW(folder.c_str());
    });
}

}  // namespace adb
