#include "update/download_target.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "memory_target_file.h"
#include "update/resume_trailer.h"

namespace {

using test_support::MemoryTargetFile;
using update::DownloadSegment;
using update::DownloadTarget;
using update::TrailerVerdict;

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 31 + seed);
    return bytes;
}

// What a later download of the same file of total bytes would read back from it.
update::LoadedTrailer TrailerOf(MemoryTargetFile& file, int64_t total) {
    const size_t tailSize = std::min<size_t>(file.bytes.size(), update::kTrailerMaxSize);
    return update::ReadTrailer(file.bytes.data() + file.bytes.size() - tailSize, tailSize,
                               static_cast<int64_t>(file.bytes.size()), total);
}

DownloadTarget Resumable(MemoryTargetFile& file, int64_t total) {
    DownloadTarget target(file);
    target.total = total;
    target.resumable = true;
    return target;
}

TEST(DownloadTarget, AFreshResumableFileHasItsFullLengthAtOnce) {
    MemoryTargetFile file;
    DownloadTarget target = Resumable(file, 1000000);
    int connections = 0;
    ASSERT_TRUE(target.Open(connections));
    EXPECT_EQ(file.bytes.size(), 1000000u);
    EXPECT_EQ(connections, 5);
    ASSERT_EQ(target.segments.Count(), 1);
    EXPECT_EQ(target.segments.At(0).start, 0);
    EXPECT_EQ(target.segments.At(0).end, 999999);

    connections = 25;
    MemoryTargetFile other;
    DownloadTarget many = Resumable(other, 1000);
    ASSERT_TRUE(many.Open(connections));
    EXPECT_EQ(connections, 10);
}

TEST(DownloadTarget, EveryBlockLeavesAnUpToDateTrailerBehindTheData) {
    MemoryTargetFile file;
    DownloadTarget target = Resumable(file, 2 << 20);
    int connections = 5;
    ASSERT_TRUE(target.Open(connections));
    DownloadSegment* first = target.segments.Assign(std::nullopt);
    DownloadSegment* second = target.segments.Assign(std::nullopt);
    const std::vector<uint8_t> a = Pattern(32768, 1), b = Pattern(1000, 2);

    ASSERT_TRUE(target.WriteBlock(first, a.data(), a.size()));
    update::LoadedTrailer trailer = TrailerOf(file, target.total);
    ASSERT_EQ(trailer.verdict, TrailerVerdict::kResumable);
    ASSERT_EQ(trailer.count, 2);
    EXPECT_EQ(trailer.records[0].received, 32768);

    ASSERT_TRUE(target.WriteBlock(second, b.data(), b.size()));
    ASSERT_TRUE(target.WriteBlock(first, b.data(), b.size()));
    trailer = TrailerOf(file, target.total);
    ASSERT_EQ(trailer.verdict, TrailerVerdict::kResumable);
    EXPECT_EQ(trailer.records[0].received, 33768);
    EXPECT_EQ(trailer.records[1].received, 1000);
    EXPECT_EQ(target.downloaded, 34768);
    EXPECT_TRUE(std::equal(a.begin(), a.end(), file.bytes.begin()));
    EXPECT_TRUE(std::equal(b.begin(), b.end(), file.bytes.begin() + second->start));

    // A finished segment leaves the list; the trailer shrinks and nothing of the old one is left.
    second->received = second->end - second->start + 1;
    target.segments.Release(second);
    ASSERT_TRUE(target.WriteBlock(first, b.data(), b.size()));
    EXPECT_EQ(file.bytes.size(), (2u << 20) + 4 + 32 + 4 + 106);
    EXPECT_EQ(TrailerOf(file, target.total).count, 1);
}

TEST(DownloadTarget, AnInterruptedFileResumesWhereItStopped) {
    MemoryTargetFile file;
    {
        DownloadTarget first = Resumable(file, 1 << 20);
        int connections = 3;
        ASSERT_TRUE(first.Open(connections));
        DownloadSegment* s1 = first.segments.Assign(std::nullopt);
        DownloadSegment* s2 = first.segments.Assign(std::nullopt);
        DownloadSegment* s3 = first.segments.Assign(std::nullopt);
        const std::vector<uint8_t> block = Pattern(32768, 7);
        ASSERT_TRUE(first.WriteBlock(s1, block.data(), block.size()));
        ASSERT_TRUE(first.WriteBlock(s3, block.data(), block.size()));
        // The third is complete but still listed.
        s2->received = s2->end - s2->start;
        ASSERT_TRUE(first.WriteBlock(s2, block.data(), 1));
        first.lastModified = 132000000000000000ull;
        first.Finish(false);
        EXPECT_FALSE(file.open);
        EXPECT_EQ(file.closedWithTime, 132000000000000000ull);
    }
    DownloadTarget again = Resumable(file, 1 << 20);
    int connections = 5;
    ASSERT_TRUE(again.Open(connections));
    ASSERT_EQ(again.segments.Count(), 3);
    const int64_t missing = again.segments.At(0).Missing() + again.segments.At(2).Missing();
    EXPECT_EQ(again.segments.At(1).Missing(), 0);
    EXPECT_EQ(again.downloaded, again.total - missing);
    EXPECT_EQ(again.segments.At(0).start, 32768);
    EXPECT_EQ(again.segments.At(0).inUse, 0u);
}

TEST(DownloadTarget, ACompleteFileWithAStaleTrailerCountsAsDownloaded) {
    MemoryTargetFile file;
    {
        DownloadTarget first = Resumable(file, 300000);
        int connections = 1;
        ASSERT_TRUE(first.Open(connections));
        DownloadSegment* whole = first.segments.Assign(std::nullopt);
        const std::vector<uint8_t> data = Pattern(300000, 3);
        for (size_t at = 0; at < data.size(); at += 30000) ASSERT_TRUE(first.WriteBlock(whole, &data[at], 30000));
        // The program ended before the finished segment left the list.
        file.open = false;
    }
    ASSERT_EQ(TrailerOf(file, 300000).verdict, TrailerVerdict::kResumable);
    DownloadTarget again = Resumable(file, 300000);
    int connections = 5;
    ASSERT_TRUE(again.Open(connections));
    EXPECT_EQ(again.downloaded, again.total);
    again.Finish(true);
    EXPECT_EQ(file.bytes, Pattern(300000, 3)) << "finishing removes the stale trailer";
}

TEST(DownloadTarget, AnUnusableTrailerStartsTheDownloadOverFromAnEmptyFile) {
    MemoryTargetFile file;
    {
        DownloadTarget first = Resumable(file, 1000000);
        int connections = 1;
        ASSERT_TRUE(first.Open(connections));
        const std::vector<uint8_t> data = Pattern(50000, 9);
        ASSERT_TRUE(first.WriteBlock(first.segments.Assign(std::nullopt), data.data(), data.size()));
        first.Finish(false);
    }
    // The file on the server has changed its size since.
    DownloadTarget changed = Resumable(file, 999000);
    int connections = 0;
    ASSERT_TRUE(changed.Open(connections));
    EXPECT_EQ(changed.downloaded, 0);
    ASSERT_EQ(changed.segments.Count(), 1);
    EXPECT_EQ(changed.segments.At(0).end, 998999);
    EXPECT_EQ(file.bytes, std::vector<uint8_t>(999000, 0)) << "no byte of the old file passes for data";
}

TEST(DownloadTarget, AHostileTrailerNeverMovesAWriteOutsideTheFile) {
    // A record pointing a gigabyte past the end, behind a marker that matches.
    const DownloadSegment forged[] = {{1, 1, int64_t{1} << 30, (int64_t{1} << 30) + 10, 0}};
    update::SegmentTable table;
    table.Load(forged, 1);
    const update::TrailerBytes trailer = update::EncodeTrailer(table);
    MemoryTargetFile file;
    file.bytes.assign(4096, 0xEE);
    file.bytes.insert(file.bytes.end(), trailer.bytes, trailer.bytes + trailer.size);

    DownloadTarget again = Resumable(file, 4096);
    int connections = 5;
    ASSERT_TRUE(again.Open(connections));
    DownloadSegment* segment = again.segments.Assign(std::nullopt);
    ASSERT_NE(segment, nullptr);
    EXPECT_EQ(segment->start, 0);
    EXPECT_EQ(segment->end, 4095);
    ASSERT_TRUE(again.WriteBlock(segment, "y", 1));
    for (const auto& [offset, size] : file.writes) {
        EXPECT_GE(offset, 0);
        EXPECT_LE(offset + static_cast<int64_t>(size), 4096 + static_cast<int64_t>(update::kTrailerMaxSize));
    }
}

TEST(DownloadTarget, ABlockLongerThanItsSegmentMissesIsRefused) {
    MemoryTargetFile file;
    DownloadTarget target = Resumable(file, 100);
    int connections = 1;
    ASSERT_TRUE(target.Open(connections));
    DownloadSegment* whole = target.segments.Assign(std::nullopt);
    whole->received = 90;
    const std::vector<uint8_t> block = Pattern(11, 0);
    file.writes.clear();
    EXPECT_FALSE(target.WriteBlock(whole, block.data(), block.size()));
    EXPECT_TRUE(file.writes.empty());
    EXPECT_FALSE(target.WriteBlock(nullptr, block.data(), 1));
}

TEST(DownloadTarget, ANotResumableDownloadWritesInOrderIntoAnEmptiedFile) {
    MemoryTargetFile file;
    file.bytes.assign(5000, 0xAA);  // an older, longer file of the same name
    DownloadTarget target(file);
    target.total = -1;
    int connections = 5;
    ASSERT_TRUE(target.Open(connections));
    EXPECT_TRUE(file.bytes.empty());
    const std::vector<uint8_t> a = Pattern(700, 1), b = Pattern(300, 2);
    ASSERT_TRUE(target.WriteBlock(nullptr, a.data(), a.size()));
    ASSERT_TRUE(target.WriteBlock(nullptr, b.data(), b.size()));
    target.Finish(true);
    ASSERT_EQ(file.bytes.size(), 1000u);
    EXPECT_TRUE(std::equal(a.begin(), a.end(), file.bytes.begin()));
    EXPECT_TRUE(std::equal(b.begin(), b.end(), file.bytes.begin() + 700));
    EXPECT_EQ(target.downloaded, 1000);
}

TEST(DownloadTarget, ATransferWithoutRangesThatBrokeOffStartsOverFromTheFirstByte) {
    MemoryTargetFile file;
    DownloadTarget target(file);
    target.total = 1000;
    int connections = 1;
    ASSERT_TRUE(target.Open(connections));
    const std::vector<uint8_t> first = Pattern(600, 1), again = Pattern(1000, 2);
    ASSERT_TRUE(target.WriteBlock(nullptr, first.data(), first.size()));
    ASSERT_TRUE(target.Rewind());
    EXPECT_EQ(target.downloaded, 0);
    EXPECT_EQ(target.total, -1);
    EXPECT_TRUE(file.bytes.empty());
    ASSERT_TRUE(target.WriteBlock(nullptr, again.data(), again.size()));
    target.Finish(true);
    EXPECT_EQ(file.bytes, again);
}

TEST(DownloadTarget, AFullVolumeFailsWithoutClaimingAnything) {
    MemoryTargetFile file;
    file.freeBytes = 1000;
    DownloadTarget tooBig = Resumable(file, 1000);
    int connections = 5;
    EXPECT_FALSE(tooBig.Open(connections));
    EXPECT_FALSE(file.open);
    EXPECT_TRUE(file.bytes.empty());

    file.freeBytes = -1;  // the query failed
    DownloadTarget unknown(file);
    EXPECT_FALSE(unknown.Open(connections));

    // Room by the count, but the length cannot be given: the file is left empty.
    MemoryTargetFile small;
    small.capacity = 4096;
    DownloadTarget target = Resumable(small, 8192);
    EXPECT_FALSE(target.Open(connections));
    EXPECT_TRUE(small.bytes.empty());

    // A write that finds the disk full fails the block.
    MemoryTargetFile filling;
    filling.capacity = 60000;
    DownloadTarget sequential(filling);
    ASSERT_TRUE(sequential.Open(connections));
    const std::vector<uint8_t> block = Pattern(32768, 5);
    EXPECT_TRUE(sequential.WriteBlock(nullptr, block.data(), block.size()));
    EXPECT_FALSE(sequential.WriteBlock(nullptr, block.data(), block.size()));
    EXPECT_EQ(sequential.downloaded, 32768);
    // What it did write is of no use to anyone: the failed file gives its space back.
    sequential.Finish(false);
    EXPECT_TRUE(filling.bytes.empty());

    // A resumable file whose trailer no longer fits is of no use either.
    MemoryTargetFile tight;
    tight.capacity = 100000;
    DownloadTarget resumable = Resumable(tight, 100000);
    ASSERT_TRUE(resumable.Open(connections));
    EXPECT_FALSE(resumable.WriteBlock(resumable.segments.Assign(std::nullopt), block.data(), block.size()));
    resumable.Finish(false);
    EXPECT_TRUE(tight.bytes.empty());
}

TEST(DownloadTarget, ASuccessWhoseLastWritesDidNotLandIsNone) {
    MemoryTargetFile file;
    DownloadTarget target = Resumable(file, 1000);
    int connections = 1;
    ASSERT_TRUE(target.Open(connections));
    const std::vector<uint8_t> data = Pattern(1000, 4);
    ASSERT_TRUE(target.WriteBlock(target.segments.Assign(std::nullopt), data.data(), data.size()));
    file.failFlush = true;
    EXPECT_FALSE(target.Finish(true));
    EXPECT_TRUE(file.bytes.empty()) << "what is left is no use to anyone";

    MemoryTargetFile good;
    DownloadTarget fine = Resumable(good, 1000);
    ASSERT_TRUE(fine.Open(connections));
    ASSERT_TRUE(fine.WriteBlock(fine.segments.Assign(std::nullopt), data.data(), data.size()));
    EXPECT_TRUE(fine.Finish(true));
    EXPECT_EQ(good.bytes, data);
}

TEST(DownloadTarget, AFileThatCannotBeOpenedFails) {
    MemoryTargetFile file;
    file.refuseOpen = true;
    DownloadTarget target = Resumable(file, 10);
    int connections = 1;
    EXPECT_FALSE(target.Open(connections));
}

}  // namespace
