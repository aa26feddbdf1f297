#pragma once
// Putting a new program file in the running program's place: the running file moves aside to its
// backup (the same path with ".bak"), the new one is copied in, and the new program starts with
// "/update:1". The backup, the image of the running program, goes when it can: at once if
// possible, else at the next reboot, and in any case at the new program's next start.
#include <string>

namespace update {

// Clears the file's attributes and deletes it; when it cannot be deleted now (a running program's
// image), schedules its deletion for the next reboot. Nothing when there is no such file.
void DeleteFileRobust(const std::wstring& path);

// The backup an earlier upgrade left beside the program, removed at every start.
void RemoveLeftoverBackup(const std::wstring& programPath);

// Moves program to its backup and copies newFile in its place; when the copy fails the backup
// moves back. False when program was not replaced.
bool ReplaceProgram(const std::wstring& program, const std::wstring& newFile);

// Starts program with "/update:1", with the rights of the running program. False when it did not
// start.
bool StartUpdatedProgram(const std::wstring& program);

}  // namespace update
