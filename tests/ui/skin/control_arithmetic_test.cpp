// Wheel steps, state frames and the places of an empty list's content and a dialog's close button.
#include <gtest/gtest.h>

#include "ui/skin/control_geometry.h"
#include "ui/skin/face_frames.h"
#include "ui/skin/wheel_accumulator.h"

namespace {

using skin::Point;

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

TEST(FaceFrames, ButtonsShowPressedOnlyWhileThePointerIsOverThem) {
    EXPECT_EQ(skin::ButtonFaceFrame(false, false, false), 0);
    EXPECT_EQ(skin::ButtonFaceFrame(false, true, false), 1);
    EXPECT_EQ(skin::ButtonFaceFrame(false, true, true), 2);
    EXPECT_EQ(skin::ButtonFaceFrame(false, false, true), 0);  // dragged off while pressed
    EXPECT_EQ(skin::ButtonFaceFrame(true, true, true), 3);
}

TEST(FaceFrames, HeaderCellsPreferPressedThenHoverThenSorted) {
    EXPECT_EQ(skin::HeaderCellFrame(false, false, false), 0);
    EXPECT_EQ(skin::HeaderCellFrame(false, false, true), 3);
    EXPECT_EQ(skin::HeaderCellFrame(false, true, true), 1);
    EXPECT_EQ(skin::HeaderCellFrame(true, true, true), 2);
}

TEST(FaceFrames, AnimationsWrapAfterTheLastFrame) {
    EXPECT_EQ(skin::NextAnimationFrame(0, 8), 1);
    EXPECT_EQ(skin::NextAnimationFrame(7, 8), 0);
    EXPECT_EQ(skin::NextAnimationFrame(0, 1), 0);
    EXPECT_EQ(skin::NextAnimationFrame(0, 0), 0);  // a picture that failed to load
}

TEST(FaceFrames, RowStylesComeFromReservedUserData) {
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
    EXPECT_EQ(places.icon, (Point{125, 135}));
    EXPECT_EQ(places.caption, (Point{175, 140}));
}

TEST(EmptyListPlaces, WithoutAnIconTheCaptionIsCentredOnItsOwn) {
    const auto places = skin::PlaceEmptyListContent(400, 300, 0, 0, 100, 20);
    EXPECT_EQ(places.caption, (Point{150, 140}));
}

TEST(CloseButton, SitsFiveFromTheRightOrTwoWhenMaximised) {
    EXPECT_EQ(skin::CloseButtonLeft(300, 26, false), 269);
    EXPECT_EQ(skin::CloseButtonLeft(300, 26, true), 272);
}

}  // namespace
