#pragma once
// The client never sees the user's own path: every APK is staged in a private folder and
// installed from there, as a hard link to the APK where the folder is on its volume (and the APK
// is not read-only), else as a copy. Each run of the program stages into a folder of its own under
// "%TEMP%\mivoraapk", named after its process, and numbers its copies without ever reusing a
// number: a copy left by an earlier batch or run can never stand in for a new one.
#include <cstdint>
#include <string>

namespace adb {

// "mivora_apk_%04d.apk": the number in decimal, zero-padded to at least four digits.
std::wstring StagedFileName(int32_t number);
// Whether name is such a file name.
bool IsStagedFileName(const std::wstring& name);

// The folder of one run: the process id and its start time (a FILETIME count), which together
// name one process for as long as the machine runs.
std::wstring RunFolderName(uint32_t processId, uint64_t startTime);
// Reads both back; false for a name that is no run's folder.
bool ParseRunFolderName(const std::wstring& name, uint32_t& processId, uint64_t& startTime);

struct StagedApk {
    std::wstring path;   // empty when nothing was staged
    uint64_t bytes = 0;
};

// Stages the APK under the next staged name of this run, from a path of any length. Nothing is
// staged when the APK is missing or the copy is not whole.
StagedApk StageApk(const std::wstring& apk);

// Deletes a staged copy or link once its install has ended; the APK itself stays as it is.
void RemoveStagedCopy(const std::wstring& staged);

// Deletes what earlier runs left in the staging folder: their copies and their folders. A run
// that still goes on beside this one (the new instance of a self-update) keeps its folder.
void RemoveStagingLeftovers();

}  // namespace adb
