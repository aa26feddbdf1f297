#include "update/download_segment.h"

namespace update {

void FoldSegment(DownloadSegment& segment) {
    segment.start += segment.received;
    segment.received = 0;
    segment.started = 0;
}

void SegmentTable::Clear() {
    for (DownloadSegment& slot : slots_) slot = DownloadSegment{};
    count_ = 0;
}

void SegmentTable::StartWhole(int64_t total) {
    Clear();
    DownloadSegment* whole = Append(0);
    whole->start = 0;
    whole->end = total - 1;
}

bool SegmentTable::Load(const DownloadSegment* records, int count) {
    Clear();
    if (count < 0 || count > kSlots) return false;
    for (int i = 0; i < count; ++i) {
        DownloadSegment* segment = Append(i);
        *segment = records[i];
        FoldSegment(*segment);
        segment->inUse = 0;
    }
    return true;
}

DownloadSegment* SegmentTable::Assign(std::optional<int64_t> afterEnd) {
    if (afterEnd) {
        for (int i = 0; i < count_; ++i) {
            DownloadSegment& segment = slots_[order_[i]];
            if (!(segment.inUse && segment.started) && segment.start == *afterEnd + 1 && segment.Missing() > 0) {
                segment.inUse = 1;
                return &segment;
            }
        }
    }
    for (int i = 0; i < count_; ++i) {
        DownloadSegment& segment = slots_[order_[i]];
        if (!segment.inUse && segment.Missing() > 0) {
            segment.inUse = 1;
            return &segment;
        }
    }
    const int slot = FreeSlot();
    if (slot < 0) return nullptr;
    DownloadSegment* largest = nullptr;
    for (int i = 0; i < count_; ++i) {
        DownloadSegment& segment = slots_[order_[i]];
        if (!largest || segment.Missing() > largest->Missing()) largest = &segment;
    }
    if (!largest || largest->Missing() <= kSplitLimit) return nullptr;
    const int64_t oldEnd = largest->end;
    largest->end = oldEnd - largest->Missing() / 2;
    DownloadSegment* half = Append(slot);
    half->start = largest->end + 1;
    half->end = oldEnd;
    half->inUse = 1;
    return half;
}

void SegmentTable::Release(DownloadSegment* segment) {
    for (int i = 0; i < count_; ++i) {
        if (&slots_[order_[i]] != segment) continue;
        *segment = DownloadSegment{};
        for (int j = i + 1; j < count_; ++j) order_[j - 1] = order_[j];
        --count_;
        return;
    }
}

void SegmentTable::Abandon(DownloadSegment* segment) {
    FoldSegment(*segment);
    segment->inUse = 0;
}

int64_t SegmentTable::MissingBytes() const {
    int64_t missing = 0;
    for (int i = 0; i < count_; ++i) missing += At(i).Missing();
    return missing;
}

DownloadSegment* SegmentTable::Append(int slot) {
    order_[count_++] = slot;
    return &slots_[slot];
}

// A slot outside the list is free: the list's slots are zeroed when they leave it. (The bytes of a
// listed slot may all be zero too: a one-byte segment at offset 0 with nothing received.)
int SegmentTable::FreeSlot() const {
    for (int slot = 0; slot < kSlots; ++slot) {
        bool listed = false;
        for (int i = 0; i < count_; ++i) listed = listed || order_[i] == slot;
        if (!listed) return slot;
    }
    return -1;
}

}  // namespace update
