// Pictures and animations in a real window: their size and transparency, the frame they show on
// the screen, one step per tick of the manager's timer, and hidden animations.
#include <windows.h>
#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "ui/skin/host/som_wnd_manager.h"
#include "ui/skin/image/som_image_wnd.h"
#include "ui/skin/paint/skin_resources.h"

namespace {

using skin::kSomAutoSize;
using skin::kSomVisible;
using skin_test::Canvas;
using skin_test::TestHost;

constexpr COLORREF kBackground = skin_test::kHostBackground;
constexpr int kSearchAnimation = 10019;  // 8 frames of 30 x 30

class Pictures : public ::testing::Test {
protected:
    static skin::CSomBitmap* Picture(int resource) { return skin::Skin()->Bitmap(resource); }
    int ShownFrame(const skin::CSomWnd& wnd, skin::CSomBitmap& bitmap) {
        skin_test::CaptureClient(host_.Handle(), shot_);
        return skin_test::ShownFrame(shot_, wnd.Bounds().left, wnd.Bounds().top, bitmap, kBackground);
    }
    // One tick of the manager's 100 ms timer, delivered as the platform delivers it.
    void Tick() { SendMessageW(host_.Handle(), WM_TIMER, skin::CSomWndManager::kTickTimer, 0); }

    TestHost host_;
    Canvas shot_{400, 300, RGB(0, 0, 0)};
};

TEST_F(Pictures, AnImageTakesItsFrameSizeAndIsTransparentOnlyWithAlpha) {
    // PNG pictures come with alpha; a 24-bit BMP (two frames of 3 x 4) without.
    skin::CSomBitmap opaqueBmp(31006, skin::CSomBitmap::kBmp, 2);
    skin::CSomImageWnd withAlpha, opaque;
    withAlpha.SetBitmap(Picture(10034));
    opaque.SetBitmap(&opaqueBmp, 1);
    withAlpha.Create(&host_.manager, nullptr, 0, 10, 10, 0, 0, 0, kSomVisible | kSomAutoSize);
    opaque.Create(&host_.manager, nullptr, 0, 100, 10, 0, 0, 0, kSomVisible | kSomAutoSize);
    EXPECT_EQ(withAlpha.Width(), 33);
    EXPECT_EQ(withAlpha.Height(), 33);
    EXPECT_TRUE(withAlpha.IsTransparent());
    EXPECT_EQ(opaque.Width(), 3);
    EXPECT_EQ(opaque.Height(), 4);
    EXPECT_FALSE(opaque.IsTransparent());
    EXPECT_EQ(ShownFrame(withAlpha, *Picture(10034)), 0);
    EXPECT_EQ(ShownFrame(opaque, opaqueBmp), 1);
}

TEST_F(Pictures, AnAnimationStepsOneFramePerTickAndWraps) {
    skin::CSomAnimation animation;
    animation.SetBitmap(Picture(kSearchAnimation));
    animation.Create(&host_.manager, nullptr, 0, 50, 40, 0, 0, 0, kSomVisible | kSomAutoSize);
    EXPECT_EQ(animation.Width(), 30);
    EXPECT_EQ(ShownFrame(animation, *Picture(kSearchAnimation)), 0);
    for (int step = 1; step <= 8; ++step) {
        Tick();
        EXPECT_EQ(animation.Frame(), step % 8);
        EXPECT_EQ(ShownFrame(animation, *Picture(kSearchAnimation)), step % 8) << "after tick " << step;
    }
}

TEST_F(Pictures, TheManagersOwnTimerDrivesAnimations) {
    skin::CSomAnimation animation;
    animation.SetBitmap(Picture(kSearchAnimation));
    animation.Create(&host_.manager, nullptr, 0, 50, 40, 0, 0, 0, kSomVisible | kSomAutoSize);
    EXPECT_TRUE(skin_test::PumpUntil([&] { return animation.Frame() >= 2; }));
}

TEST_F(Pictures, AHiddenAnimationIsNotDrawnAndKeepsItsFrame) {
    skin::CSomAnimation animation;
    animation.SetBitmap(Picture(kSearchAnimation));
    animation.Create(&host_.manager, nullptr, 0, 50, 40, 0, 0, 0, kSomVisible | kSomAutoSize);
    Tick();
    Tick();
    animation.SetVisible(false);
    skin_test::CaptureClient(host_.Handle(), shot_);
    EXPECT_EQ(shot_.At(65, 55), skin_test::ToRgb(kBackground));
    Tick();
    Tick();
    EXPECT_EQ(animation.Frame(), 2);
    skin_test::CaptureClient(host_.Handle(), shot_);
    EXPECT_EQ(shot_.At(65, 55), skin_test::ToRgb(kBackground));
    animation.SetVisible(true);
    EXPECT_EQ(ShownFrame(animation, *Picture(kSearchAnimation)), 2);
    Tick();
    EXPECT_EQ(ShownFrame(animation, *Picture(kSearchAnimation)), 3);
}

}  // namespace
