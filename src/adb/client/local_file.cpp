#include "adb/client/local_file.h"

namespace adb::client {

namespace {

// Written out in pieces this large: far fewer calls than the 64 KB chunks of a sync stream.
constexpr size_t kOutputBuffer = 1 << 20;
// Key files and the box list are a few kilobytes; anything this large is not one of them.
constexpr DWORD kSmallFileLimit = 1 << 20;
// Seconds from 1601-01-01 (FILETIME's epoch) to 1970-01-01.
constexpr uint64_t kUnixEpochInFileTimeSeconds = 11644473600ull;

bool WriteAll(HANDLE file, std::string_view text) {
    while (!text.empty()) {
        DWORD written = 0;
        if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) || !written) return false;
        text.remove_prefix(written);
    }
    return true;
}

}  // namespace

InputFile::InputFile(const std::wstring& path, uint32_t& error) {
    handle_ = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    error = handle_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    // Device names (NUL, CON, pipes) open as well; only a file on disk is something to send.
    if (IsOpen() && GetFileType(handle_) != FILE_TYPE_DISK) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        error = ERROR_FILE_NOT_FOUND;
    }
}

InputFile::~InputFile() {
    if (IsOpen()) CloseHandle(handle_);
}

uint64_t InputFile::Size() const {
    LARGE_INTEGER size{};
    GetFileSizeEx(handle_, &size);
    return static_cast<uint64_t>(size.QuadPart);
}

uint32_t InputFile::ModifiedUnixTime() const {
    FILETIME written{};
    if (!GetFileTime(handle_, nullptr, nullptr, &written)) return 0;
    const uint64_t seconds = (static_cast<uint64_t>(written.dwHighDateTime) << 32 | written.dwLowDateTime) / 10000000;
    return seconds > kUnixEpochInFileTimeSeconds ? static_cast<uint32_t>(seconds - kUnixEpochInFileTimeSeconds) : 0;
}

bool InputFile::ReadInto(Bytes& out, size_t size, uint32_t& error) {
    const size_t at = out.size();
    out.resize(at + size);
    size_t filled = 0;
    while (filled < size) {
        DWORD read = 0;
        if (!ReadFile(handle_, out.data() + at + filled, static_cast<DWORD>(size - filled), &read, nullptr)) {
            error = GetLastError();
            out.resize(at + filled);
            return false;
        }
        if (read == 0) break;
        filled += read;
    }
    out.resize(at + filled);
    return true;
}

OutputFile::OutputFile(const std::wstring& path, uint32_t& error) : path_(path) {
    handle_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    error = handle_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    buffer_.reserve(kOutputBuffer);
}

OutputFile::~OutputFile() {
    if (!IsOpen()) return;
    CloseHandle(handle_);
    if (!finished_) DeleteFileW(path_.c_str());
}

bool OutputFile::Flush(uint32_t& error) {
    const bool written = WriteAll(handle_, AsText(buffer_));
    error = written ? 0 : GetLastError();
    buffer_.clear();
    return written;
}

bool OutputFile::Write(std::span<const uint8_t> bytes, uint32_t& error) {
    if (buffer_.size() + bytes.size() > kOutputBuffer && !Flush(error)) return false;
    if (bytes.size() >= kOutputBuffer) {
        const bool written = WriteAll(handle_, AsText(bytes));
        error = written ? 0 : GetLastError();
        return written;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    return true;
}

bool OutputFile::Finish(uint32_t& error) {
    if (!Flush(error)) return false;
    finished_ = true;
    return true;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadSmallFile(const std::wstring& path, uint32_t& error) {
    InputFile file(path, error);
    if (!file.IsOpen()) return std::nullopt;
    if (file.Size() > kSmallFileLimit) {
        error = ERROR_FILE_TOO_LARGE;
        return std::nullopt;
    }
    Bytes bytes;
    if (!file.ReadInto(bytes, static_cast<size_t>(file.Size()), error)) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
}

bool WriteNewFile(const std::wstring& path, std::string_view text, uint32_t& error) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    const bool written = WriteAll(file, text);
    error = written ? 0 : GetLastError();
    CloseHandle(file);
    if (!written) DeleteFileW(path.c_str());
    return written;
}

bool ReplaceFileText(const std::wstring& path, std::string_view text) {
    const std::string process = std::to_string(GetCurrentProcessId());
    const std::wstring temporary = path + L".new" + std::wstring(process.begin(), process.end());
    const HANDLE file =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool written = WriteAll(file, text);
    CloseHandle(file);
    if (written && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileW(temporary.c_str());
    return false;
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring(L".") : path.substr(0, separator);
}

}  // namespace adb::client
