#include "update/self_replacement.h"

#include <windows.h>
#include <shellapi.h>

#include "update/update_rules.h"

namespace update {

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

void DeleteFileRobust(const std::wstring& path) {
    if (!Exists(path)) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(path.c_str())) MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

void RemoveLeftoverBackup(const std::wstring& programPath) {
    if (!programPath.empty()) DeleteFileRobust(BackupPath(programPath));
}

bool ReplaceProgram(const std::wstring& program, const std::wstring& newFile) {
    const std::wstring backup = BackupPath(program);
    DeleteFileRobust(backup);
    if (!MoveFileExW(program.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    if (!CopyFileW(newFile.c_str(), program.c_str(), FALSE)) {
        MoveFileExW(backup.c_str(), program.c_str(), MOVEFILE_REPLACE_EXISTING);
        return false;
    }
    DeleteFileRobust(backup);
    return true;
}

bool StartUpdatedProgram(const std::wstring& program) {
    // The program folder took the new file without elevation, so the new program needs none; and
    // an elevated window would take no files dropped from the user's unelevated shell.
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof(start);
    start.fMask = SEE_MASK_NOCLOSEPROCESS;
    start.lpVerb = L"open";
    start.lpFile = program.c_str();
    start.lpParameters = L"/update:1";
    start.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&start)) return false;
    if (start.hProcess) CloseHandle(start.hProcess);
    return true;
}

}  // namespace update
