#pragma once
// Files on the computer: the APK being installed, the key files and the list of known boxes.
#include <windows.h>

#include <optional>
#include <span>
#include <string>

#include "adb/client/bytes.h"

namespace adb::client {

// A file opened for reading; others may read it meanwhile.
class InputFile {
public:
    // error: the Windows error when the file cannot be opened.
    InputFile(const std::wstring& path, uint32_t& error);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    uint64_t Size() const;
    // Last modification, in seconds since 1970 (what a push gives the box).
    uint32_t ModifiedUnixTime() const;
    // Appends up to size bytes to out; false (with error) when reading fails. At the end of the
    // file nothing is appended.
    bool ReadInto(Bytes& out, size_t size, uint32_t& error);

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A file being written, as a pulled file is: an unfinished one is deleted, so that a failed pull
// leaves nothing that looks like the file.
class OutputFile {
public:
    // Creates the file, or empties one that is there; error: the Windows error when it cannot.
    OutputFile(const std::wstring& path, uint32_t& error);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Buffered; false (with error) when writing fails.
    bool Write(std::span<const uint8_t> bytes, uint32_t& error);
    // Writes what is buffered and keeps the file.
    bool Finish(uint32_t& error);

private:
    bool Flush(uint32_t& error);

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::wstring path_;
    Bytes buffer_;
    bool finished_ = false;
};

// Whether the path names a folder that exists.
bool IsFolder(const std::wstring& path);

// A whole small file's bytes, or nothing when it cannot be read (error says why).
std::optional<std::string> ReadSmallFile(const std::wstring& path, uint32_t& error);

// Writes text to a file that must not exist yet; false with ERROR_FILE_EXISTS when it does.
bool WriteNewFile(const std::wstring& path, std::string_view text, uint32_t& error);

// Replaces the file's content in one step: readers see the old text or the new one.
bool ReplaceFileText(const std::wstring& path, std::string_view text);

// The folder part of a path, without the last separator.
std::wstring FolderOf(const std::wstring& path);

}  // namespace adb::client
