// libFuzzer target for the resume trailer loader. The input is a partial target file as a damaged
// or hostile disk could hold it; the download it is opened for has a size close to what the file
// claims. Opening must never read or write outside the file, whatever the trailer says, and what it
// loads must keep every write of the download inside the data and the trailer after it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_check.h"
#include "update/memory_target_file.h"
#include "update/resume_trailer.h"

namespace {

uint32_t Get32(const uint8_t* in) { return in[0] | (in[1] << 8) | (in[2] << 16) | (uint32_t{in[3]} << 24); }

// Mostly the size the trailer implies (so that the loader gets past its first checks), now and
// then one byte off, or the whole file.
int64_t TotalFor(const uint8_t* data, size_t size) {
    const auto fileSize = static_cast<int64_t>(size);
    if (size < update::kTrailerMarkerSize + 4) return fileSize;
    const int64_t implied =
        fileSize - 4 - int64_t{Get32(data + size - update::kTrailerMarkerSize - 4)} - int64_t{update::kTrailerMarkerSize};
    switch (data[0] % 4) {
        case 0: return fileSize;
        case 1: return implied + 1;
        default: return implied;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int64_t total = TotalFor(data, size);
    if (total <= 0) return 0;
    test_support::MemoryTargetFile file;
    file.bytes.assign(data, data + size);
    file.capacity = std::max<int64_t>(total, static_cast<int64_t>(size)) + static_cast<int64_t>(update::kTrailerMaxSize);

    update::DownloadTarget target(file);
    target.total = total;
    target.resumable = true;
    int connections = data[size / 2] % 12;
    if (!target.Open(connections)) return 0;
    FUZZ_CHECK(target.downloaded >= 0 && target.downloaded <= total);
    FUZZ_CHECK(connections >= 0 && connections <= 11);
    for (int i = 0; i < target.segments.Count(); ++i) {
        const update::DownloadSegment& segment = target.segments.At(i);
        FUZZ_CHECK(segment.start >= 0 && segment.end < total && segment.Missing() >= 0);
    }

    // Every connection the download could open writes a little into its segment.
    const uint8_t block[7] = {1, 2, 3, 4, 5, 6, 7};
    while (update::DownloadSegment* segment = target.segments.Assign(std::nullopt)) {
        const auto count = static_cast<size_t>(std::min<int64_t>(segment->Missing(), sizeof(block)));
        if (count) FUZZ_CHECK(target.WriteBlock(segment, block, count));
        segment->started = 1;
    }
    target.Finish(data[0] & 1);
    for (const auto& [offset, length] : file.writes)
        FUZZ_CHECK(offset >= 0 && offset + static_cast<int64_t>(length) <= total + static_cast<int64_t>(update::kTrailerMaxSize));
    FUZZ_CHECK(file.Size() >= total);
    return 0;
}
