#include "adb/app_export.h"

#include <windows.h>

#include <vector>

#include "adb/app_commands.h"
#include "adb/app_listing.h"
#include "adb/box_command.h"
#include "adb/command_set.h"
#include "adb/command_text.h"
#include "adb/process_runner.h"

namespace adb {

namespace {

// Room left on the disk beyond the copy, so that pulling it does not fill the disk to the brim.
constexpr uint64_t kDiskReserve = 16ull << 20;
constexpr int kMaxNumberedNames = 999;

std::wstring Joined(const std::wstring& folder, const std::wstring& name) {
    return folder.empty() || folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

// The first name of the series that nothing in the folder has; empty when all are taken.
std::wstring FreeName(const std::wstring& folder, const std::wstring& name, const std::wstring& extension) {
    for (int n = 1; n <= kMaxNumberedNames; ++n) {
        std::wstring path = Joined(folder, NumberedName(name, n, extension));
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
            return path;
    }
    return {};
}

// Windows' words for an error, in English as the client's messages are.
std::wstring ErrorText(DWORD error) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return L"No space left on device";
    if (error == ERROR_ACCESS_DENIED) return L"Permission denied";
    if (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) return L"No such file or directory";
    return L"Windows error " + std::to_wstring(error);
}

// Deletes the files in the folder (the pulled ones; it holds no folders).
void EmptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Joined(folder, L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW(Joined(folder, found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
}

void RemoveFolder(const std::wstring& folder) {
    EmptyFolder(folder);
    RemoveDirectoryW(folder.c_str());
}

std::vector<std::wstring> SafePaths(std::vector<std::wstring> paths) {
    std::erase_if(paths, [](const std::wstring& path) { return !IsSafeRemotePath(path); });
    return paths;
}

std::wstring BaseName(const std::wstring& remote) { return remote.substr(remote.find_last_of(L'/') + 1); }

ExportOutcome Failure(std::wstring output) { return {Failed, std::move(output), {}}; }

}  // namespace

ExportOutcome ExportAppFiles(base::BoxAddress box, const ExportRequest& request) {
    const std::wstring ip = base::BoxText(box);
    const auto askBox = [&](std::wstring& listed) {
        DoBoxCommand(box, ReplaceAll(FormatTemplate(templates::kApkPaths, request.package), L"$ip$", ip), listed,
                     CommandLimits());
        return SafePaths(ParsePackagePaths(listed));
    };
    std::wstring listed;
    std::vector<std::wstring> paths = SafePaths(request.apkPaths);
    const bool fromListing = !paths.empty();
    if (!fromListing) paths = askBox(listed);
    if (paths.empty()) return Failure(listed);

    ULARGE_INTEGER available{};
    if (GetDiskFreeSpaceExW(request.folder.c_str(), &available, nullptr, nullptr) &&
        available.QuadPart < request.bytes + kDiskReserve) {
        return Failure(L"adb: error: cannot write '" + request.folder + L"': No space left on device");
    }

    // A hidden folder of its own beside the target: the copy gets its name only when it is whole.
    const std::wstring work = FreeName(request.folder, L"." + request.name, L".part");
    if (work.empty() || !CreateDirectoryW(work.c_str(), nullptr))
        return Failure(L"adb: error: cannot create file/directory '" + work + L"': " + ErrorText(GetLastError()));
    SetFileAttributesW(work.c_str(), FILE_ATTRIBUTE_HIDDEN);

    std::wstring pulled;
    const auto pull = [&] {
        return DoBoxCommand(box, ReplaceAll(PullCommand(paths, work), L"$ip$", ip), pulled, PullLimits(request.bytes));
    };
    CommandOutcome outcome = pull();
    // An app updated since the listing has its files elsewhere: the box names them anew.
    if (ClassifyPull(pulled, outcome.exitCode) != Success && fromListing && PullFoundNoFile(pulled)) {
        paths = askBox(listed);
        if (!paths.empty()) {
            EmptyFolder(work);
            outcome = pull();
        }
    }
    if (ClassifyPull(pulled, outcome.exitCode) != Success) {
        RemoveFolder(work);
        return Failure(pulled);
    }
    const bool single = paths.size() == 1;
    const std::wstring target = FreeName(request.folder, request.name, single ? L".apk" : L"");
    const std::wstring source = single ? Joined(work, BaseName(paths.front())) : work;
    if (!target.empty() && MoveFileExW(source.c_str(), target.c_str(), 0)) {
        if (single) RemoveFolder(work);
        else SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        return {Success, pulled, target};
    }
    const DWORD error = GetLastError();
    RemoveFolder(work);
    return Failure(L"adb: error: cannot create file/directory '" + target + L"': " + ErrorText(error));
}

}  // namespace adb
