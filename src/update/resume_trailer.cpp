#include "update/resume_trailer.h"

#include <cstring>

namespace update {

namespace {

constexpr char kMarkerText[] = "4D69766F7261426F-86C36F73-2C25-4a7d-91EA-F5581018A42D";
static_assert(sizeof(kMarkerText) - 1 == kTrailerMarkerSize / 2);

void Put32(uint8_t* out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

void Put64(uint8_t* out, int64_t value) {
    const auto bits = static_cast<uint64_t>(value);
    for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

uint32_t Get32(const uint8_t* in) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | in[i];
    return value;
}

int64_t Get64(const uint8_t* in) {
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | in[i];
    return static_cast<int64_t>(value);
}

void PutMarker(uint8_t* out) {
    for (size_t i = 0; i < kTrailerMarkerSize / 2; ++i) {
        out[2 * i] = static_cast<uint8_t>(kMarkerText[i]);
        out[2 * i + 1] = 0;
    }
}

bool EndsInMarker(const uint8_t* tail, size_t tailSize) {
    if (tailSize < kTrailerMarkerSize) return false;
    uint8_t marker[kTrailerMarkerSize];
    PutMarker(marker);
    return std::memcmp(tail + tailSize - kTrailerMarkerSize, marker, kTrailerMarkerSize) == 0;
}

DownloadSegment GetRecord(const uint8_t* in) {
    DownloadSegment record;
    record.inUse = Get32(in);
    record.started = Get32(in + 4);
    record.start = Get64(in + 8);
    record.end = Get64(in + 16);
    record.received = Get64(in + 24);
    return record;
}

bool RecordFits(const DownloadSegment& record, int64_t total) {
    return record.start >= 0 && record.start <= record.end && record.end < total && record.received >= 0 &&
           record.received <= record.end - record.start + 1;
}

bool RecordsApart(const DownloadSegment* records, int count) {
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j)
            if (records[i].start <= records[j].end && records[j].start <= records[i].end) return false;
    return true;
}

}  // namespace

TrailerBytes EncodeTrailer(const SegmentTable& table) {
    TrailerBytes out{};
    const int count = table.Count();
    if (count == 0) return out;
    uint8_t* p = out.bytes;
    Put32(p, static_cast<uint32_t>(count));
    p += 4;
    for (int i = 0; i < count; ++i) {
        const DownloadSegment& segment = table.At(i);
        Put32(p, segment.inUse);
        Put32(p + 4, segment.started);
        Put64(p + 8, segment.start);
        Put64(p + 16, segment.end);
        Put64(p + 24, segment.received);
        p += kTrailerRecordSize;
    }
    Put32(p, static_cast<uint32_t>(4 + kTrailerRecordSize * count));
    p += 4;
    PutMarker(p);
    out.size = static_cast<size_t>(p - out.bytes) + kTrailerMarkerSize;
    return out;
}

LoadedTrailer ReadTrailer(const uint8_t* tail, size_t tailSize, int64_t fileSize, int64_t total) {
    LoadedTrailer loaded;
    if (!EndsInMarker(tail, tailSize)) return loaded;
    loaded.verdict = TrailerVerdict::kRejected;
    if (tailSize < kTrailerMarkerSize + 4 || fileSize < static_cast<int64_t>(tailSize)) return loaded;

    const uint8_t* lengthField = tail + tailSize - kTrailerMarkerSize - 4;
    const uint32_t length = Get32(lengthField);
    if (length < 4 + kTrailerRecordSize || (length - 4) % kTrailerRecordSize != 0) return loaded;
    const size_t count = (length - 4) / kTrailerRecordSize;
    if (count > static_cast<size_t>(SegmentTable::kSlots)) return loaded;
    const size_t size = 4 + length + kTrailerMarkerSize;
    if (size > tailSize) return loaded;
    const uint8_t* countField = lengthField - length;
    if (Get32(countField) != count) return loaded;
    if (fileSize - static_cast<int64_t>(size) != total) return loaded;

    for (size_t i = 0; i < count; ++i) {
        loaded.records[i] = GetRecord(countField + 4 + kTrailerRecordSize * i);
        if (!RecordFits(loaded.records[i], total)) return loaded;
    }
    if (!RecordsApart(loaded.records, static_cast<int>(count))) return loaded;

    loaded.verdict = TrailerVerdict::kResumable;
    loaded.count = static_cast<int>(count);
    loaded.size = size;
    return loaded;
}

}  // namespace update
