#pragma once
// The resume trailer: what a partial target file carries after its data so that a later download of
// the same target continues where this one stopped.
//   count (4) | count records of 32 bytes (DownloadSegment) | length = 4 + 32 * count (4) | marker
// The marker is a fixed text of 53 UTF-16LE characters. Everything little-endian.
//
// A trailer is read back only when every part agrees: the length with the count, at most as many
// records as there are slots, the data in front of it exactly as long as the download, and records
// that lie inside the file without overlapping and that received no more than they hold. A file
// that ends in the marker but fails any of that is not resumed: a damaged or hostile file must
// never make the engine seek or write outside the file, and a trailer written for another size of
// the file on the server belongs to another file.
#include <cstddef>
#include <cstdint>

#include "update/download_segment.h"

namespace update {

constexpr size_t kTrailerMarkerSize = 106;
constexpr size_t kTrailerRecordSize = sizeof(DownloadSegment);
constexpr size_t kTrailerMaxSize = 4 + kTrailerRecordSize * SegmentTable::kSlots + 4 + kTrailerMarkerSize;

struct TrailerBytes {
    uint8_t bytes[kTrailerMaxSize];
    size_t size;  // 0 for an empty segment list: no trailer at all
};

// The trailer for the table's segments in list order.
TrailerBytes EncodeTrailer(const SegmentTable& table);

enum class TrailerVerdict {
    kNone,       // the file does not end in the marker
    kResumable,  // records holds count segments to continue from
    kRejected,   // it ends in the marker, but the rest does not hold up
};

struct LoadedTrailer {
    TrailerVerdict verdict = TrailerVerdict::kNone;
    int count = 0;
    size_t size = 0;  // bytes of the whole trailer
    DownloadSegment records[SegmentTable::kSlots] = {};
};

// tail: the last tailSize bytes of a file of fileSize bytes (kTrailerMaxSize of them, or the whole
// file when it is shorter); total: the size of the download the file is for.
LoadedTrailer ReadTrailer(const uint8_t* tail, size_t tailSize, int64_t fileSize, int64_t total);

}  // namespace update
