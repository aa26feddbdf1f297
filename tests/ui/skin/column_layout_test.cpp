// Proportional list columns and how much of a control a column lets show.
#include "ui/skin/column_layout.h"

#include <gtest/gtest.h>

namespace {

using skin::ListColumn;

std::vector<ListColumn> Columns(std::initializer_list<std::pair<int, float>> specs, int clientWidth) {
    std::vector<ListColumn> columns;
    for (const auto& [minWidth, weight] : specs) columns.push_back({minWidth, weight});
    skin::LayOutColumns(columns, clientWidth);
    return columns;
}

TEST(ColumnLayout, WeightsShareTheFreeWidthUntilAWholeIsUsedUp) {
    const auto columns = Columns({{100, 0.75f}, {50, 0.75f}}, 350);
    EXPECT_EQ(columns[0].x, 0);
    EXPECT_EQ(columns[0].width, 250);  // 100 + 0.75 of 200
    EXPECT_EQ(columns[1].x, 250);
    EXPECT_EQ(columns[1].width, 100);  // 50 + the 0.25 left
}

TEST(ColumnLayout, ColumnsAfterTheWholeKeepTheirMinimum) {
    const auto columns = Columns({{10, 1.0f}, {20, 0.5f}, {30, 0.0f}}, 160);
    EXPECT_EQ(columns[0].width, 110);
    EXPECT_EQ(columns[1].width, 20);
    EXPECT_EQ(columns[2].x, 130);
    EXPECT_EQ(columns[2].width, 30);
}

TEST(ColumnLayout, TheShareIsTruncatedInSinglePrecision) {
    // 0.7 as a float is a little less than 0.7.
    EXPECT_EQ(Columns({{0, 0.7f}}, 200)[0].width, 139);
    EXPECT_EQ(Columns({{0, 0.5f}, {0, 0.5f}}, 201)[1].width, 100);
}

TEST(ColumnLayout, ANarrowClientGivesEveryColumnItsMinimum) {
    const auto columns = Columns({{100, 0.5f}, {80, 0.5f}}, 120);
    EXPECT_EQ(columns[0].width, 100);
    EXPECT_EQ(columns[1].x, 100);
    EXPECT_EQ(columns[1].width, 80);
}

TEST(ColumnLayout, FindsTheColumnUnderAPoint) {
    const auto columns = Columns({{40, 0.0f}, {60, 0.0f}}, 100);
    EXPECT_EQ(skin::ColumnAt(columns, 0), 0);
    EXPECT_EQ(skin::ColumnAt(columns, 39), 0);
    EXPECT_EQ(skin::ColumnAt(columns, 40), 1);
    EXPECT_EQ(skin::ColumnAt(columns, 99), 1);
    EXPECT_EQ(skin::ColumnAt(columns, 100), -1);
    EXPECT_EQ(skin::ColumnAt(columns, -1), -1);
}

TEST(ColumnClip, AControlInsideItsColumnShowsWhole) {
    const ListColumn column{0, 0, 50, 100};
    EXPECT_EQ(skin::ControlPaintLimit(10, 100, column, 300), -1);
}

TEST(ColumnClip, AControlPastItsColumnIsCutAtTheColumnEdge) {
    const ListColumn column{0, 0, 50, 100};
    EXPECT_EQ(skin::ControlPaintLimit(10, 140, column, 300), 90);
}

TEST(ColumnClip, TheItemsRightEdgeCutsAColumnThatReachesPastIt) {
    const ListColumn column{0, 0, 50, 100};
    EXPECT_EQ(skin::UsableColumnWidth(column, 120), 70);
    EXPECT_EQ(skin::ControlPaintLimit(10, 90, column, 120), 60);
}

TEST(ColumnClip, ControlsThatWouldNotShowAreNotDrawn) {
    const ListColumn column{0, 0, 50, 100};
    EXPECT_FALSE(skin::ControlPaintLimit(80, 90, column, 120));   // starts past the item's edge
    EXPECT_FALSE(skin::ControlPaintLimit(100, 130, column, 300)); // starts at the column's edge
}

}  // namespace
