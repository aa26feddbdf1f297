#pragma once
// The target file of a download: opened for the first accepted response, written block by block,
// finished when the download ends. A resumable download keeps the file at its full length from the
// start and an up-to-date resume trailer after the data while it is written, so that the download
// can continue from any moment it is interrupted at. The file itself is behind ITargetFile, so that
// the bookkeeping builds and is tested without the platform.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "update/download_segment.h"

namespace update {

class ITargetFile {
public:
    virtual ~ITargetFile() = default;
    // Bytes the caller may still use on the volume that holds the file; -1 when not known.
    virtual int64_t FreeBytes() = 0;
    // Opens the file for reading and writing, creating it when it does not exist, keeping what
    // it holds when it does.
    virtual bool Open() = 0;
    virtual bool IsOpen() const = 0;
    virtual int64_t Size() = 0;  // -1 when not known
    // Each of these is all or nothing: false unless every byte was read or written.
    virtual bool ReadAt(int64_t offset, void* buffer, size_t size) = 0;
    virtual bool WriteAt(int64_t offset, const void* data, size_t size) = 0;
    virtual bool Resize(int64_t size) = 0;
    // Waits until every write made so far has landed; false when one of them did not.
    virtual bool Flush() = 0;
    // lastWriteTime: a file time (100 ns units since 1601) to set before closing.
    virtual void Close(std::optional<uint64_t> lastWriteTime) = 0;
};

class DownloadTarget {
public:
    explicit DownloadTarget(ITargetFile& file) : file_(file) {}

    // Opens the file for the first accepted response (nothing to do when it is open). Not
    // resumable: the data goes from offset 0 on, into an emptied file. Resumable: continues from
    // the file's trailer when it holds one for this total, else starts over with one segment over
    // the whole file and connectionCount brought into 1..10 (0 means 5). False when the volume
    // lacks room for a known total or the file cannot be opened or given its length.
    bool Open(int& connectionCount);

    // Writes a block that a connection received, for its segment when resumable (else at the end
    // of what came before), and brings the trailer up to date. False unless all of it was written.
    bool WriteBlock(DownloadSegment* segment, const void* data, size_t count);

    // A transfer without ranges that broke off starts over from the first byte, its size unknown
    // again (the answer that broke off may have claimed a size the file does not have).
    bool Rewind();

    // Closes the file once every connection has ended: after a success, without a trailer; after
    // a failure of a resumable download, with one; with the last-modified time when known. A
    // failed file that cannot be resumed (no ranges, or its trailer could not be written: a full
    // disk) is emptied: it would hold its space for nothing. Returns whether the download
    // succeeded after all: a success whose last writes did not land is none.
    bool Finish(bool succeeded);

    // Empties everything back to a download that has not begun.
    void Reset();

    int64_t total = -1;  // -1: not known
    int64_t downloaded = 0;
    bool resumable = false;
    std::optional<uint64_t> lastModified;
    SegmentTable segments;

private:
    bool ResumeFromTrailer();
    bool StartOver(int& connectionCount);
    bool WriteTrailer();

    ITargetFile& file_;
    size_t trailerSize_ = 0;  // bytes of trailer the file now carries after its data
};

}  // namespace update
