// The controls' state frames and the place of a dialog's close button.
#include <gtest/gtest.h>

#include "ui/skin/button/button_faces.h"
#include "ui/skin/dialog/dialog_geometry.h"
#include "ui/skin/header/header_cells.h"
#include "ui/skin/image/animation_frames.h"

namespace {

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

TEST(CloseButton, SitsFiveFromTheRightOrTwoWhenMaximised) {
    EXPECT_EQ(skin::CloseButtonLeft(300, 26, false), 269);
    EXPECT_EQ(skin::CloseButtonLeft(300, 26, true), 272);
}

}  // namespace
