#pragma once
// A target file held in memory, for the download bookkeeping's tests and its fuzzer: it records
// every write and can run out of room like a full disk.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "update/download_target.h"

namespace test_support {

class MemoryTargetFile : public update::ITargetFile {
public:
    int64_t FreeBytes() override { return freeBytes; }
    bool Open() override {
        if (refuseOpen) return false;
        open = true;
        return true;
    }
    bool IsOpen() const override { return open; }
    int64_t Size() override { return static_cast<int64_t>(bytes.size()); }
    bool ReadAt(int64_t offset, void* buffer, size_t size) override {
        if (offset < 0 || offset + static_cast<int64_t>(size) > Size()) return false;
        if (size) std::memcpy(buffer, bytes.data() + offset, size);
        return true;
    }
    bool WriteAt(int64_t offset, const void* data, size_t size) override {
        writes.emplace_back(offset, size);
        const int64_t end = offset + static_cast<int64_t>(size);
        if (offset < 0 || end > capacity) return false;
        if (end > Size()) bytes.resize(static_cast<size_t>(end));
        if (size) std::memcpy(bytes.data() + offset, data, size);
        return true;
    }
    bool Resize(int64_t size) override {
        if (size < 0 || size > capacity) return false;
        bytes.resize(static_cast<size_t>(size));
        return true;
    }
    bool Flush() override { return !failFlush; }
    void Close(std::optional<uint64_t> lastWriteTime) override {
        open = false;
        closedWithTime = lastWriteTime;
    }

    std::vector<uint8_t> bytes;
    bool open = false;
    bool refuseOpen = false;
    bool failFlush = false;  // a write made earlier turned out not to have landed
    int64_t freeBytes = int64_t{1} << 40;
    int64_t capacity = int64_t{1} << 32;  // the largest the file can grow: a full disk
    std::vector<std::pair<int64_t, size_t>> writes;
    std::optional<uint64_t> closedWithTime;
};

}  // namespace test_support
