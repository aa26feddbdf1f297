#pragma once
// The byte ranges a resumable download is cut into, so that several connections can fetch one
// file at once. A segment is also the on-disk record of the resume trailer (resume_trailer.h),
// which is why its layout is fixed: 32 bytes, little-endian, in this order.
#include <cstdint>
#include <optional>

namespace update {

struct DownloadSegment {
    uint32_t inUse = 0;    // 1 while a connection owns it
    uint32_t started = 0;  // 1 once a connection has begun reading it
    int64_t start = 0;     // file offset of its first byte
    int64_t end = 0;       // file offset of its last byte (inclusive)
    int64_t received = 0;  // bytes received since start

    int64_t NextByte() const { return start + received; }
    int64_t Missing() const { return end - NextByte() + 1; }
    bool Complete() const { return received == end - start + 1; }
};
static_assert(sizeof(DownloadSegment) == 32, "the trailer stores segments as 32-byte records");

// A connection that broke off in the middle of a segment leaves what it received behind: the
// segment then starts at the next byte still missing.
void FoldSegment(DownloadSegment& segment);

// Ten slots and the list of the slots in use, in order of creation. Connections hold pointers to
// slots; a slot keeps its address while it is in the list.
class SegmentTable {
public:
    static constexpr int kSlots = 10;
    // A segment missing this many bytes or fewer is not split for another connection.
    static constexpr int64_t kSplitLimit = 0x40000;

    void Clear();

    // The whole file as one segment, nothing received, not in use.
    void StartWhole(int64_t total);

    // Replaces the list by records read back from a trailer (already validated): each continues at
    // its next missing byte and belongs to no connection. False, and an empty list, for more
    // records than slots.
    bool Load(const DownloadSegment* records, int count);

    // Gives a connection a segment and marks it in use. With afterEnd (the end of the segment the
    // connection just finished), first the segment that starts right after it, unless another
    // connection is already reading it: the connection can go on reading the same response. Then
    // the first segment nobody owns, else the back half of the segment missing the most bytes, when
    // that is more than kSplitLimit and a slot is free. A segment that misses nothing (read back
    // complete from a trailer) is never handed out: there would be nothing to ask for.
    DownloadSegment* Assign(std::optional<int64_t> afterEnd);

    // Frees the slot of a finished segment and takes it out of the list.
    void Release(DownloadSegment* segment);

    // A connection that gives its segment up without finishing it: what it received stays, and the
    // rest is free for the next connection to take.
    static void Abandon(DownloadSegment* segment);

    int Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    // The index-th segment of the list.
    const DownloadSegment& At(int index) const { return slots_[order_[index]]; }
    int64_t MissingBytes() const;

private:
    DownloadSegment* Append(int slot);
    int FreeSlot() const;

    DownloadSegment slots_[kSlots] = {};
    int order_[kSlots] = {};
    int count_ = 0;
};

}  // namespace update
