// Placing runs on a line, finding the run under a point, choosing the colour, cutting at a limit.
#include "ui/skin/text/run_layout.h"

#include <gtest/gtest.h>

namespace {

using skin::RunRect;
using skin::TextRun;

std::vector<TextRun> Runs(size_t count) {
    std::vector<TextRun> runs(count);
    for (auto& run : runs) run.text = L"x";
    return runs;
}

TEST(PlaceRunsOnLine, SharesTheBottomEdgeOfTheTallestRun) {
    auto runs = Runs(3);
    const auto line = skin::PlaceRunsOnLine(runs, {{50, 32}, {40, 21}, {7, 16}});
    EXPECT_EQ(line.cx, 97);
    EXPECT_EQ(line.cy, 32);
    EXPECT_EQ(runs[0].bounds, (RunRect{0, 0, 50, 32}));
    EXPECT_EQ(runs[1].bounds, (RunRect{50, 11, 90, 32}));
    EXPECT_EQ(runs[2].bounds, (RunRect{90, 16, 97, 32}));
}

TEST(PlaceRunsOnLine, NoRunsMakeAnEmptyLine) {
    std::vector<TextRun> runs;
    const auto line = skin::PlaceRunsOnLine(runs, {});
    EXPECT_EQ(line.cx, 0);
    EXPECT_EQ(line.cy, 0);
}

TEST(RunIndexAt, FindsTheFirstRunContainingThePoint) {
    auto runs = Runs(2);
    skin::PlaceRunsOnLine(runs, {{10, 20}, {10, 12}});
    EXPECT_EQ(skin::RunIndexAt(runs, 0, 0), 0);
    EXPECT_EQ(skin::RunIndexAt(runs, 9, 19), 0);
    EXPECT_EQ(skin::RunIndexAt(runs, 10, 19), 1);
    EXPECT_EQ(skin::RunIndexAt(runs, 10, 7), -1);  // above the shorter run
    EXPECT_EQ(skin::RunIndexAt(runs, 20, 10), -1); // right edge excluded
    EXPECT_EQ(skin::RunIndexAt(runs, 5, 20), -1);  // bottom edge excluded
    EXPECT_EQ(skin::RunIndexAt(runs, -1, 5), -1);
}

TEST(RunDrawColor, PicksHoverLinkTextAndDisabledColours) {
    TextRun plain, grey, link, greenLink;
    grey.color = 0x808080;
    link.link = L"button:1";
    greenLink.link = L"button:2";
    greenLink.color = 0x7F009000;  // the top byte is not part of the colour
    EXPECT_EQ(skin::RunDrawColor(plain, false, false, 0x123456), 0x123456u);
    EXPECT_EQ(skin::RunDrawColor(grey, false, false, 0x123456), 0x808080u);
    EXPECT_EQ(skin::RunDrawColor(link, false, false, 0x123456), skin::kDefaultLinkColor);
    EXPECT_EQ(skin::RunDrawColor(greenLink, false, false, 0), 0x009000u);
    EXPECT_EQ(skin::RunDrawColor(greenLink, true, false, 0), skin::kHoverLinkColor);
    EXPECT_EQ(skin::RunDrawColor(link, true, true, 0), skin::kDisabledTextColor);
    EXPECT_EQ(skin::RunDrawColor(grey, false, true, 0), skin::kDisabledTextColor);
}

TEST(CutRunAtLimit, CutsCrossingRunsAndDropsRunsBeyond) {
    RunRect inside{0, 0, 30, 10}, crossing{30, 0, 70, 10}, beyond{70, 0, 90, 10};
    EXPECT_TRUE(skin::CutRunAtLimit(inside, 50));
    EXPECT_EQ(inside.right, 30);
    EXPECT_TRUE(skin::CutRunAtLimit(crossing, 50));
    EXPECT_EQ(crossing.right, 50);
    EXPECT_FALSE(skin::CutRunAtLimit(beyond, 50));
    RunRect unlimited{70, 0, 900, 10};
    EXPECT_TRUE(skin::CutRunAtLimit(unlimited, -1));
    EXPECT_EQ(unlimited.right, 900);
}

// The tooltip over a result line covers its words, not the links after them.
TEST(LeadingTextBounds, CoversTheRunsBeforeTheFirstLink) {
    auto runs = Runs(4);
    skin::PlaceRunsOnLine(runs, {{50, 32}, {40, 21}, {30, 21}, {20, 32}});
    runs[2].link = L"button:306";
    EXPECT_EQ(skin::LeadingTextBounds(runs), (RunRect{0, 0, 90, 32}));
    runs[0].link = L"button:305";
    EXPECT_EQ(skin::LeadingTextBounds(runs), RunRect{});
    EXPECT_EQ(skin::LeadingTextBounds({}), RunRect{});
}

}  // namespace
