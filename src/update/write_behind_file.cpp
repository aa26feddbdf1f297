#include "update/write_behind_file.h"

#include <cstring>

namespace update {

namespace {

class Exclusive {
public:
    explicit Exclusive(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~Exclusive() { ReleaseSRWLockExclusive(&lock_); }
    Exclusive(const Exclusive&) = delete;
    Exclusive& operator=(const Exclusive&) = delete;

private:
    SRWLOCK& lock_;
};

}  // namespace

CWriteBehindFile::~CWriteBehindFile() {
    if (!thread_) return;
    {
        Exclusive held(lock_);
        stopping_ = true;
    }
    WakeAllConditionVariable(&changed_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
}

bool CWriteBehindFile::Open() {
    Flush();
    {
        Exclusive held(lock_);
        failed_ = false;
    }
    return file_.Open();
}

int64_t CWriteBehindFile::Size() {
    Flush();
    return file_.Size();
}

bool CWriteBehindFile::ReadAt(int64_t offset, void* buffer, size_t size) {
    Flush();
    return file_.ReadAt(offset, buffer, size);
}

bool CWriteBehindFile::Resize(int64_t size) {
    Flush();
    return file_.Resize(size);
}

bool CWriteBehindFile::WriteAt(int64_t offset, const void* data, size_t size) {
    if (!thread_) {
        thread_ = CreateThread(nullptr, 0, &CWriteBehindFile::WriterThread, this, 0, nullptr);
        // Without a thread of its own it writes as it goes.
        if (!thread_) return file_.WriteAt(offset, data, size);
    }
    Waiting block{offset, std::vector<uint8_t>(size)};
    if (size) std::memcpy(block.bytes.data(), data, size);
    {
        Exclusive held(lock_);
        while (!failed_ && waitingBytes_ && waitingBytes_ + size > kMostWaiting)
            SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
        if (failed_) return false;
        waitingBytes_ += size;
        waiting_.push_back(std::move(block));
    }
    WakeAllConditionVariable(&changed_);
    return true;
}

bool CWriteBehindFile::Flush() {
    Exclusive held(lock_);
    while (!waiting_.empty() || writing_) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    return !failed_;
}

void CWriteBehindFile::Close(std::optional<uint64_t> lastWriteTime) {
    Flush();
    file_.Close(lastWriteTime);
}

DWORD WINAPI CWriteBehindFile::WriterThread(LPVOID self) {
    static_cast<CWriteBehindFile*>(self)->Write();
    return 0;
}

void CWriteBehindFile::Write() {
    Exclusive held(lock_);
    for (;;) {
        while (waiting_.empty() && !stopping_) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
        if (waiting_.empty()) return;
        Waiting block = std::move(waiting_.front());
        waiting_.pop_front();
        writing_ = true;
        // After a failure the rest is dropped: the file is no use as it stands.
        const bool skip = failed_;
        ReleaseSRWLockExclusive(&lock_);
        const bool written = skip || file_.WriteAt(block.offset, block.bytes.data(), block.bytes.size());
        AcquireSRWLockExclusive(&lock_);
        writing_ = false;
        waitingBytes_ -= block.bytes.size();
        if (!written) failed_ = true;
        WakeAllConditionVariable(&changed_);
    }
}

}  // namespace update
