#include "update/download_segment.h"

#include <gtest/gtest.h>

namespace {

using update::DownloadSegment;
using update::SegmentTable;

struct Range {
    int64_t start, end;
    bool operator==(const Range&) const = default;
};

std::vector<Range> Ranges(const SegmentTable& table) {
    std::vector<Range> ranges;
    for (int i = 0; i < table.Count(); ++i) ranges.push_back({table.At(i).start, table.At(i).end});
    return ranges;
}

TEST(SegmentTable, AFreshDownloadIsOneSegmentOverTheWholeFile) {
    SegmentTable table;
    table.StartWhole(1000000);
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(Ranges(table), (std::vector<Range>{{0, 999999}}));
    EXPECT_EQ(table.At(0).inUse, 0u);
    EXPECT_EQ(table.At(0).received, 0);
    EXPECT_EQ(table.MissingBytes(), 1000000);
}

TEST(SegmentTable, SplittingHalvesWhatTheLargestSegmentStillMisses) {
    SegmentTable table;
    table.StartWhole(1000000);
    DownloadSegment* first = table.Assign(std::nullopt);
    first->started = 1;
    first->received = 100000;
    DownloadSegment* second = table.Assign(std::nullopt);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->end, 549999);
    EXPECT_EQ(second->start, 550000);
    EXPECT_EQ(second->end, 999999);
    EXPECT_EQ(second->inUse, 1u);
    EXPECT_EQ(second->received, 0);
}

TEST(SegmentTable, OnlyPiecesOfMoreThan256KiBAreSplit) {
    SegmentTable table;
    table.StartWhole(262144);
    ASSERT_NE(table.Assign(std::nullopt), nullptr);
    EXPECT_EQ(table.Assign(std::nullopt), nullptr);

    table.StartWhole(262145);
    ASSERT_NE(table.Assign(std::nullopt), nullptr);
    DownloadSegment* half = table.Assign(std::nullopt);
    ASSERT_NE(half, nullptr);
    EXPECT_EQ(Ranges(table), (std::vector<Range>{{0, 131072}, {131073, 262144}}));
}

TEST(SegmentTable, FiveConnectionsOnFiveMebibytes) {
    SegmentTable table;
    table.StartWhole(5 << 20);
    DownloadSegment* first = table.Assign(std::nullopt);
    ASSERT_EQ(first->start, 0);
    for (int i = 0; i < 4; ++i) ASSERT_NE(table.Assign(std::nullopt), nullptr);
    // Each split takes the back half of the piece that misses most, the earlier one on a tie.
    EXPECT_EQ(Ranges(table), (std::vector<Range>{{0, 655359}, {2621440, 3932159}, {1310720, 2621439},
                                                  {3932160, 5242879}, {655360, 1310719}}));
    for (int i = 0; i < table.Count(); ++i) EXPECT_EQ(table.At(i).inUse, 1u);
}

TEST(SegmentTable, AnUnownedSegmentIsTakenBeforeAnythingIsSplit) {
    SegmentTable table;
    table.StartWhole(10 << 20);
    DownloadSegment* first = table.Assign(std::nullopt);
    DownloadSegment* second = table.Assign(std::nullopt);
    first->received = 4096;
    SegmentTable::Abandon(first);
    EXPECT_EQ(first->start, 4096);
    EXPECT_EQ(first->received, 0);
    EXPECT_EQ(first->inUse, 0u);
    EXPECT_EQ(table.Assign(std::nullopt), first);
    EXPECT_EQ(table.Count(), 2);
    EXPECT_NE(second, first);
}

TEST(SegmentTable, AConnectionGoesOnWithTheSegmentThatFollowsItsOwn) {
    SegmentTable table;
    table.StartWhole(4 << 20);
    DownloadSegment* first = table.Assign(std::nullopt);
    first->started = 1;
    DownloadSegment* second = table.Assign(std::nullopt);
    const int64_t firstEnd = first->end;
    table.Release(first);

    // Owned but not yet reading: the finishing connection may carry on with it.
    EXPECT_EQ(table.Assign(firstEnd), second);
    // Owned and being read by someone else: the finishing connection helps with the rest instead,
    // taking the back half of what is missing.
    second->started = 1;
    second->inUse = 1;
    DownloadSegment* help = table.Assign(firstEnd);
    ASSERT_NE(help, nullptr);
    EXPECT_NE(help, second);
    EXPECT_EQ(help->start, 3145728);
    EXPECT_EQ(second->end, 3145727);
    // Nothing starts right after an unrelated end either: the first unowned segment is next.
    SegmentTable::Abandon(help);
    EXPECT_EQ(table.Assign(int64_t{12345}), help);
}

TEST(SegmentTable, TenSlotsAtMostAndReleasedSlotsComeBack) {
    SegmentTable table;
    table.StartWhole(100 << 20);
    std::vector<DownloadSegment*> taken;
    for (DownloadSegment* s = table.Assign(std::nullopt); s; s = table.Assign(std::nullopt)) taken.push_back(s);
    ASSERT_EQ(taken.size(), 10u);
    EXPECT_EQ(table.Count(), 10);

    const int64_t start = taken[3]->start;
    table.Release(taken[3]);
    EXPECT_EQ(table.Count(), 9);
    for (int i = 0; i < table.Count(); ++i) EXPECT_NE(table.At(i).start, start);
    DownloadSegment* again = table.Assign(std::nullopt);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(&table.At(table.Count() - 1), again) << "a new segment joins the end of the list";
}

TEST(SegmentTable, ASlotWhoseBytesAreAllZeroIsStillInUseWhileListed) {
    // A one-byte segment at offset 0 with nothing received is 32 zero bytes once nobody owns it.
    const DownloadSegment records[] = {{0, 0, 0, 0, 0}, {0, 0, 1, 999999, 0}};
    SegmentTable table;
    ASSERT_TRUE(table.Load(records, 2));
    DownloadSegment* first = table.Assign(std::nullopt);
    DownloadSegment* second = table.Assign(std::nullopt);
    DownloadSegment* split = table.Assign(std::nullopt);
    ASSERT_NE(split, nullptr);
    EXPECT_NE(split, first);
    EXPECT_EQ(table.Count(), 3);
    EXPECT_EQ(Ranges(table)[0], (Range{0, 0}));
    EXPECT_EQ(second->end, 500000);
}

TEST(SegmentTable, LoadedRecordsContinueAtTheirNextMissingByte) {
    const DownloadSegment records[] = {{1, 1, 0, 499, 100}, {1, 0, 500, 999, 500}, {0, 1, 1000, 1999, 0}};
    SegmentTable table;
    ASSERT_TRUE(table.Load(records, 3));
    EXPECT_EQ(Ranges(table), (std::vector<Range>{{100, 499}, {1000, 999}, {1000, 1999}}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(table.At(i).inUse, 0u);
        EXPECT_EQ(table.At(i).started, 0u);
        EXPECT_EQ(table.At(i).received, 0);
    }
    EXPECT_EQ(table.MissingBytes(), 400 + 0 + 1000);

    // The complete one is never handed out, neither as the next piece nor as a free one.
    DownloadSegment* next = table.Assign(int64_t{99});
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->start, 100);
    DownloadSegment* free = table.Assign(int64_t{499});
    ASSERT_NE(free, nullptr);
    EXPECT_EQ(free->start, 1000);

    DownloadSegment eleven[11] = {};
    EXPECT_FALSE(table.Load(eleven, 11));
    EXPECT_TRUE(table.Empty());
}

}  // namespace
