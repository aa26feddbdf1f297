#include "update/win_target_file.h"

namespace update {

namespace {

OVERLAPPED At(int64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
    return at;
}

}  // namespace

CWinTargetFile::~CWinTargetFile() { Close(std::nullopt); }

// The folder's own volume, not its drive's: a folder may be a mount point of another volume.
int64_t CWinTargetFile::FreeBytes() {
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr)) return -1;
    return static_cast<int64_t>(available.QuadPart & 0x7FFFFFFFFFFFFFFFull);
}

bool CWinTargetFile::Open() {
    if (IsOpen()) return true;
    file_ = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_ARCHIVE, nullptr);
    return IsOpen();
}

int64_t CWinTargetFile::Size() {
    LARGE_INTEGER size{};
    return GetFileSizeEx(file_, &size) ? size.QuadPart : -1;
}

bool CWinTargetFile::ReadAt(int64_t offset, void* buffer, size_t size) {
    OVERLAPPED at = At(offset);
    DWORD read = 0;
    return ReadFile(file_, buffer, static_cast<DWORD>(size), &read, &at) && read == size;
}

bool CWinTargetFile::WriteAt(int64_t offset, const void* data, size_t size) {
    OVERLAPPED at = At(offset);
    DWORD written = 0;
    return WriteFile(file_, data, static_cast<DWORD>(size), &written, &at) && written == size;
}

bool CWinTargetFile::Resize(int64_t size) {
    LARGE_INTEGER to{};
    to.QuadPart = size;
    return SetFilePointerEx(file_, to, nullptr, FILE_BEGIN) && SetEndOfFile(file_);
}

void CWinTargetFile::Close(std::optional<uint64_t> lastWriteTime) {
    if (!IsOpen()) return;
    if (lastWriteTime) {
        FILETIME time{static_cast<DWORD>(*lastWriteTime), static_cast<DWORD>(*lastWriteTime >> 32)};
        SetFileTime(file_, nullptr, nullptr, &time);
    }
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

}  // namespace update
