#include "update/resume_trailer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using update::DownloadSegment;
using update::ReadTrailer;
using update::SegmentTable;
using update::TrailerVerdict;

const std::string kMarker = "4D69766F7261426F-86C36F73-2C25-4a7d-91EA-F5581018A42D";

void Put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A trailer written by hand, field by field, so that every field can be made wrong.
std::vector<uint8_t> Trailer(const std::vector<DownloadSegment>& records, int64_t lengthDelta = 0,
                             int64_t countDelta = 0) {
    std::vector<uint8_t> out;
    Put(out, records.size() + countDelta, 4);
    for (const DownloadSegment& r : records) {
        Put(out, r.inUse, 4);
        Put(out, r.started, 4);
        Put(out, r.start, 8);
        Put(out, r.end, 8);
        Put(out, r.received, 8);
    }
    Put(out, 4 + 32 * records.size() + lengthDelta, 4);
    for (char c : kMarker) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(0);
    }
    return out;
}

// What the loader makes of a file of total bytes of data followed by trailer.
update::LoadedTrailer Load(const std::vector<uint8_t>& trailer, int64_t dataLength, int64_t total) {
    std::vector<uint8_t> tail(trailer);
    const int64_t fileSize = dataLength + static_cast<int64_t>(trailer.size());
    if (tail.size() > update::kTrailerMaxSize) tail.erase(tail.begin(), tail.end() - update::kTrailerMaxSize);
    return ReadTrailer(tail.data(), tail.size(), fileSize, total);
}

const std::vector<DownloadSegment> kThree = {{1, 1, 0, 299, 120}, {0, 0, 300, 599, 0}, {1, 1, 600, 999, 400}};

TEST(ResumeTrailer, TheWrittenLayoutIsCountRecordsLengthMarker) {
    SegmentTable table;
    ASSERT_TRUE(table.Load(kThree.data(), 3));
    const update::TrailerBytes bytes = update::EncodeTrailer(table);
    // The table folds what it loads, so compare with the folded records.
    std::vector<DownloadSegment> folded;
    for (int i = 0; i < 3; ++i) folded.push_back(table.At(i));
    const std::vector<uint8_t> expected = Trailer(folded);
    ASSERT_EQ(bytes.size, 4 + 3 * 32 + 4 + 106u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.bytes, bytes.bytes + bytes.size), expected);
    EXPECT_EQ(bytes.bytes[4 + 3 * 32], 100) << "length = 4 + 32 * 3, little-endian";
}

TEST(ResumeTrailer, NoTrailerForAnEmptyList) {
    SegmentTable table;
    EXPECT_EQ(update::EncodeTrailer(table).size, 0u);
}

TEST(ResumeTrailer, ARecordWrittenIsReadBackAsItWas) {
    const update::LoadedTrailer loaded = Load(Trailer(kThree), 1000, 1000);
    ASSERT_EQ(loaded.verdict, TrailerVerdict::kResumable);
    ASSERT_EQ(loaded.count, 3);
    EXPECT_EQ(loaded.size, 4 + 3 * 32 + 4 + 106u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(loaded.records[i].start, kThree[i].start);
        EXPECT_EQ(loaded.records[i].end, kThree[i].end);
        EXPECT_EQ(loaded.records[i].received, kThree[i].received);
        EXPECT_EQ(loaded.records[i].inUse, kThree[i].inUse);
    }
    std::vector<DownloadSegment> ten;
    for (int i = 0; i < 10; ++i) ten.push_back({0, 0, i * 100, i * 100 + 99, i});
    EXPECT_EQ(Load(Trailer(ten), 1000, 1000).verdict, TrailerVerdict::kResumable);
}

TEST(ResumeTrailer, AFileWithoutTheMarkerHasNoTrailer) {
    std::vector<uint8_t> trailer = Trailer(kThree);
    trailer.back() ^= 1;
    EXPECT_EQ(Load(trailer, 1000, 1000).verdict, TrailerVerdict::kNone);
    EXPECT_EQ(ReadTrailer(nullptr, 0, 0, 1000).verdict, TrailerVerdict::kNone);
    const std::vector<uint8_t> shortFile(50, 0);
    EXPECT_EQ(ReadTrailer(shortFile.data(), shortFile.size(), 50, 50).verdict, TrailerVerdict::kNone);
}

TEST(ResumeTrailer, FieldsThatDisagreeAreRejected) {
    EXPECT_EQ(Load(Trailer(kThree, 1), 1000, 1000).verdict, TrailerVerdict::kRejected) << "length not 4 + 32n";
    EXPECT_EQ(Load(Trailer(kThree, 32), 1000, 1000).verdict, TrailerVerdict::kRejected) << "length for four";
    EXPECT_EQ(Load(Trailer(kThree, 0, 1), 1000, 1000).verdict, TrailerVerdict::kRejected) << "count says four";
    EXPECT_EQ(Load(Trailer(kThree, 0, -0x7FFFFFFF), 1000, 1000).verdict, TrailerVerdict::kRejected);
    EXPECT_EQ(Load(Trailer({}), 1000, 1000).verdict, TrailerVerdict::kRejected) << "no trailer is ever empty";
    // Eleven records do not fit the ten slots.
    std::vector<DownloadSegment> eleven;
    for (int i = 0; i < 11; ++i) eleven.push_back({0, 0, i * 10, i * 10 + 9, 0});
    EXPECT_EQ(Load(Trailer(eleven), 110, 110).verdict, TrailerVerdict::kRejected);
    // A length that reaches in front of the file's start.
    std::vector<uint8_t> alone = Trailer(kThree);
    EXPECT_EQ(ReadTrailer(alone.data() + 40, alone.size() - 40, alone.size() - 40, 0).verdict,
              TrailerVerdict::kRejected);
}

TEST(ResumeTrailer, ATrailerForAnotherSizeOfTheFileIsRejected) {
    // The file on the server changed size since the partial file was written.
    EXPECT_EQ(Load(Trailer(kThree), 1000, 1200).verdict, TrailerVerdict::kRejected);
    EXPECT_EQ(Load(Trailer(kThree), 1000, 999).verdict, TrailerVerdict::kRejected);
    EXPECT_EQ(Load(Trailer(kThree), 1000, -1).verdict, TrailerVerdict::kRejected);
    // Data shorter than the records claim.
    EXPECT_EQ(Load(Trailer(kThree), 900, 1000).verdict, TrailerVerdict::kRejected);
}

TEST(ResumeTrailer, RecordsOutsideTheFileOrOverlappingAreRejected) {
    const int64_t total = 1000;
    const std::vector<std::vector<DownloadSegment>> hostile = {
        {{0, 0, -1, 10, 0}},                       // before the file
        {{0, 0, 10, 1000, 0}},                     // past its last byte
        {{0, 0, 500, 499, 0}},                     // ends before it starts
        {{0, 0, 0, 99, 101}},                      // received more than it holds
        {{0, 0, 0, 99, -5}},                       // received a negative count
        {{0, 0, 0, 499, 0}, {0, 0, 499, 999, 0}},  // overlapping by one byte
        {{0, 0, 600, 999, 0}, {0, 0, 0, 700, 0}},  // overlapping, out of order
        {{0, 0, INT64_MIN, INT64_MAX, INT64_MAX}},
        {{0, 0, 0, INT64_MAX, 0}},
    };
    for (const auto& records : hostile) EXPECT_EQ(Load(Trailer(records), total, total).verdict, TrailerVerdict::kRejected);
    // Edges that are fine: a complete record, the last byte, a one-byte record.
    EXPECT_EQ(Load(Trailer({{0, 0, 0, 99, 100}, {0, 0, 999, 999, 0}}), total, total).verdict,
              TrailerVerdict::kResumable);
}

}  // namespace
