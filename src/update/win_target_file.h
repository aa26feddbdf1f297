#pragma once
// The target file on the platform's file system.
#include <windows.h>

#include <string>

#include "update/download_target.h"

namespace update {

class CWinTargetFile : public ITargetFile {
public:
    ~CWinTargetFile() override;

    int64_t FreeBytes() override;
    bool Open() override;
    bool IsOpen() const override { return file_ != INVALID_HANDLE_VALUE; }
    int64_t Size() override;
    bool ReadAt(int64_t offset, void* buffer, size_t size) override;
    bool WriteAt(int64_t offset, const void* data, size_t size) override;
    bool Resize(int64_t size) override;
    bool Flush() override { return true; }
    void Close(std::optional<uint64_t> lastWriteTime) override;

    std::wstring path;

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace update
