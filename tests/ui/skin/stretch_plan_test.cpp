// Splitting one axis into fixed head, stretched middle and fixed tail.
#include "ui/skin/picture/stretch_plan.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using skin::Span;

std::vector<std::vector<int>> Spans(int target, int head, int tailStart, int full) {
    const skin::AxisSpans axis = skin::SplitAxis(target, head, tailStart, full);
    std::vector<std::vector<int>> out;
    for (int i = 0; i < axis.count; ++i) {
        const Span& s = axis.spans[i];
        out.push_back({s.srcStart, s.srcLength, s.dstStart, s.dstLength});
    }
    return out;
}

using Expected = std::vector<std::vector<int>>;

TEST(SplitAxis, StretchesOnlyTheMiddle) {
    // The header picture: 5 wide, head 2, tail from 3; drawn 100 wide.
    EXPECT_EQ(Spans(100, 2, 3, 5), (Expected{{0, 2, 0, 2}, {2, 1, 2, 96}, {3, 2, 98, 2}}));
    // The window background at its own size: every part unscaled in effect.
    EXPECT_EQ(Spans(900, 30, 336, 900), (Expected{{0, 30, 0, 30}, {30, 306, 30, 306}, {336, 564, 336, 564}}));
    EXPECT_EQ(Spans(600, 40, 93, 600), (Expected{{0, 40, 0, 40}, {40, 53, 40, 53}, {93, 507, 93, 507}}));
    EXPECT_FALSE(skin::SplitAxis(900, 30, 336, 900).spans[1].Scaled());
    EXPECT_TRUE(skin::SplitAxis(100, 2, 3, 5).spans[1].Scaled());
}

TEST(SplitAxis, SkipsTheMiddleWhenTheTargetHoldsJustTheFixedParts) {
    EXPECT_EQ(Spans(4, 2, 3, 5), (Expected{{0, 2, 0, 2}, {3, 2, 2, 2}}));
}

TEST(SplitAxis, ANarrowTargetShowsTheOuterEndsWithoutNegativeLengths) {
    EXPECT_EQ(Spans(3, 2, 3, 5), (Expected{{0, 2, 0, 2}, {4, 1, 2, 1}}));
    EXPECT_EQ(Spans(1, 2, 3, 5), (Expected{{0, 1, 0, 1}}));
    EXPECT_EQ(Spans(0, 2, 3, 5), Expected{});
    EXPECT_EQ(Spans(-7, 2, 3, 5), Expected{});
    // A short head leaves the rest to a long tail, and the other way round.
    EXPECT_EQ(Spans(10, 1, 6, 20), (Expected{{0, 1, 0, 1}, {11, 9, 1, 9}}));
    EXPECT_EQ(Spans(10, 14, 19, 20), (Expected{{0, 9, 0, 9}, {19, 1, 9, 1}}));
    for (int target = 1; target < 40; ++target) {
        const skin::AxisSpans axis = skin::SplitAxis(target, 12, 25, 30);
        int covered = 0;
        for (int i = 0; i < axis.count; ++i) {
            EXPECT_GT(axis.spans[i].dstLength, 0);
            EXPECT_EQ(axis.spans[i].dstStart, covered);
            covered += axis.spans[i].dstLength;
        }
        EXPECT_EQ(covered, target) << target;
    }
}

TEST(SplitAxis, LeavesOutEmptyFixedParts) {
    EXPECT_EQ(Spans(50, 0, 10, 10), (Expected{{0, 10, 0, 50}}));
}

}  // namespace
