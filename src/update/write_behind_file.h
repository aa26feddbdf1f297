#pragma once
// Writes to a target file on a thread of its own, in the order they were made, so that the
// download's worker goes on receiving while the file system takes the blocks before. Every other
// operation first waits for the writes made before it. A write that fails fails every write after
// it (until the file is opened again) and Flush: the download learns of it at its next block, or at
// the latest when it ends.
#include <windows.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "update/download_target.h"

namespace update {

class CWriteBehindFile : public ITargetFile {
public:
    explicit CWriteBehindFile(ITargetFile& file) : file_(file) {}
    ~CWriteBehindFile() override;
    CWriteBehindFile(const CWriteBehindFile&) = delete;
    CWriteBehindFile& operator=(const CWriteBehindFile&) = delete;

    int64_t FreeBytes() override { return file_.FreeBytes(); }
    bool Open() override;
    bool IsOpen() const override { return file_.IsOpen(); }
    int64_t Size() override;
    bool ReadAt(int64_t offset, void* buffer, size_t size) override;
    bool WriteAt(int64_t offset, const void* data, size_t size) override;
    bool Resize(int64_t size) override;
    bool Flush() override;
    void Close(std::optional<uint64_t> lastWriteTime) override;

    // At most this many bytes wait to be written; a write beyond waits for room.
    static constexpr size_t kMostWaiting = 4 << 20;

private:
    struct Waiting {
        int64_t offset;
        std::vector<uint8_t> bytes;
    };
    static DWORD WINAPI WriterThread(LPVOID self);
    void Write();

    ITargetFile& file_;
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    std::deque<Waiting> waiting_;
    size_t waitingBytes_ = 0;
    bool writing_ = false;
    bool failed_ = false;
    bool stopping_ = false;
    HANDLE thread_ = nullptr;
};

}  // namespace update
