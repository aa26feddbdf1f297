// The skinned list's arithmetic: proportional columns and how much of a control a column lets
// show, wheel steps, row looks and the place of an empty list's content.
#include "ui/skin/list/list_arithmetic.h"

#include <gtest/gtest.h>

#include <utility>

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

TEST(WheelAccumulator, TwoHalfStepsMakeOneLineUp) {
    skin::WheelAccumulator wheel;
    EXPECT_EQ(wheel.Add(60), 0);
    EXPECT_EQ(wheel.Add(60), 1);
    EXPECT_EQ(wheel.Remainder(), 0);
}

TEST(WheelAccumulator, TwoStepsDownAreTwoLinesDown) {
    skin::WheelAccumulator wheel;
    EXPECT_EQ(wheel.Add(-240), -2);
}

TEST(WheelAccumulator, KeepsTheRestAcrossDirections) {
    skin::WheelAccumulator wheel;
    EXPECT_EQ(wheel.Add(150), 1);
    EXPECT_EQ(wheel.Remainder(), 30);
    EXPECT_EQ(wheel.Add(-100), 0);
    EXPECT_EQ(wheel.Remainder(), -70);
    EXPECT_EQ(wheel.Add(-60), -1);
    EXPECT_EQ(wheel.Remainder(), -10);
}

TEST(RowLooks, RowStylesComeFromReservedUserData) {
    using skin::RowLook;
    EXPECT_EQ(skin::ListRowLook(-16, false), RowLook::Special);
    EXPECT_EQ(skin::ListRowLook(-4, true), RowLook::Special);
    EXPECT_EQ(skin::ListRowLook(-3, true), RowLook::Plain);
    EXPECT_EQ(skin::ListRowLook(-1, false), RowLook::Plain);
    EXPECT_EQ(skin::ListRowLook(-17, true), RowLook::Hover);
    EXPECT_EQ(skin::ListRowLook(0x1401A8C0, false), RowLook::Normal);
}

TEST(EmptyListPlaces, IconAndCaptionAreCentredAsAPair) {
    // 40 + 10 + 100 = 150 wide in 400: starts at 125.
    const auto places = skin::PlaceEmptyListContent(400, 300, 40, 30, 100, 20);
    EXPECT_EQ(places, (skin::EmptyListPlaces{125, 135, 175, 140}));
}

TEST(EmptyListPlaces, WithoutAnIconTheCaptionIsCentredOnItsOwn) {
    const auto places = skin::PlaceEmptyListContent(400, 300, 0, 0, 100, 20);
    EXPECT_EQ(std::make_pair(places.captionX, places.captionY), std::make_pair(150, 140));
}

}  // namespace
