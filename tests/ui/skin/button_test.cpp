// The image button, the panel button and the tabs in a real window under real pointer input:
// the frame each state shows on the screen, and the clicks they report.
#include <windows.h>
#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "ui/skin/button/lf_buttons.h"
#include "ui/skin/button/som_button3.h"
#include "ui/skin/paint/skin_resources.h"

namespace {

using skin::kSomAutoSize;
using skin::kSomDisabled;
using skin::kSomVisible;
using skin_test::Canvas;
using skin_test::TestHost;

constexpr COLORREF kBackground = skin_test::kHostBackground;
constexpr int kCloseFace = 10012;

class Buttons : public ::testing::Test {
protected:
    void SetUp() override { skin_test::MouseMove(Outside()); }
    static POINT Outside() { return {20, 20}; }
    POINT At(int x, int y) const { return host_.ScreenPoint(x, y); }
    POINT CentreOf(const skin::CSomWnd& wnd) const {
        return At((wnd.Bounds().left + wnd.Bounds().right) / 2, (wnd.Bounds().top + wnd.Bounds().bottom) / 2);
    }
    Canvas& Shot() {
        skin_test::CaptureClient(host_.Handle(), shot_);
        return shot_;
    }
    // The frame of the face picture that the button shows on the screen now.
    int ShownFace(const skin::CSomWnd& button) {
        return skin_test::ShownFrame(Shot(), button.Bounds().left, button.Bounds().top, *Picture(kCloseFace),
                                     kBackground);
    }
    static skin::CSomBitmap* Picture(int resource) { return skin::Skin()->Bitmap(resource); }
    std::vector<WPARAM> CommandIds() const {
        std::vector<WPARAM> ids;
        for (const auto& [wParam, lParam] : host_.commands) ids.push_back(wParam);
        return ids;
    }

    TestHost host_;
    Canvas shot_{400, 300, RGB(0, 0, 0)};
};

class ImageButton : public Buttons {
protected:
    void Make(uint32_t flags = kSomVisible | kSomAutoSize) {
        button_.SetFaceBitmap(Picture(kCloseFace));
        button_.Create(&host_.manager, nullptr, 0, 40, 30, 0, 0, 0x77, flags);
        skin_test::Pump();
    }
    skin::CSomButton3 button_;
};

TEST_F(ImageButton, ShowsHoverAndPressOnTheScreenAndReportsOneClick) {
    Make();
    EXPECT_EQ(button_.Width(), 26);
    EXPECT_EQ(button_.Height(), 22);
    EXPECT_EQ(ShownFace(button_), 0);
    skin_test::MouseMove(CentreOf(button_));
    EXPECT_EQ(ShownFace(button_), 1);
    skin_test::MouseDown();
    EXPECT_EQ(ShownFace(button_), 2);
    EXPECT_TRUE(host_.commands.empty());
    skin_test::MouseMove(At(150, 150));  // off the button, still pressed
    EXPECT_EQ(ShownFace(button_), 0);
    skin_test::MouseMove(CentreOf(button_));
    EXPECT_EQ(ShownFace(button_), 2);
    skin_test::MouseUp();
    EXPECT_EQ(ShownFace(button_), 1);
    ASSERT_EQ(CommandIds(), (std::vector<WPARAM>{0x77}));
    EXPECT_EQ(host_.commands[0].second, reinterpret_cast<LPARAM>(&button_));
}

TEST_F(ImageButton, ReleasingOffTheButtonReportsNothing) {
    Make();
    skin_test::MouseMove(CentreOf(button_));
    skin_test::MouseDown();
    skin_test::MouseMove(At(150, 150));
    skin_test::MouseUp();
    EXPECT_TRUE(host_.commands.empty());
    EXPECT_FALSE(button_.IsPressed());
    EXPECT_EQ(ShownFace(button_), 0);
}

TEST_F(ImageButton, ADoubleClickIsTwoClicks) {
    Make();
    skin_test::MouseMove(CentreOf(button_));
    for (int i = 0; i < 2; ++i) {
        skin_test::MouseDown();
        skin_test::MouseUp();
    }
    EXPECT_EQ(CommandIds(), (std::vector<WPARAM>{0x77, 0x77}));
}

TEST_F(ImageButton, ADisabledButtonShowsItsLastFrameAndTakesNoClick) {
    Make(kSomVisible | kSomAutoSize | kSomDisabled);
    EXPECT_EQ(ShownFace(button_), 3);
    skin_test::Click(CentreOf(button_));
    EXPECT_EQ(ShownFace(button_), 3);
    EXPECT_TRUE(host_.commands.empty());
}

TEST_F(ImageButton, AHiddenButtonIsNotDrawnAndTakesNoClick) {
    Make(kSomAutoSize);
    const RECT place = button_.Bounds();
    Shot();
    for (int y = place.top; y < place.bottom; ++y) {
        for (int x = place.left; x < place.right; ++x) ASSERT_EQ(shot_.At(x, y), skin_test::ToRgb(kBackground));
    }
    skin_test::Click(CentreOf(button_));
    EXPECT_TRUE(host_.commands.empty());
    button_.SetVisible(true);
    EXPECT_EQ(ShownFace(button_), 0);
    skin_test::MouseMove(At(place.left + 3, place.top + 3));  // hover follows the pointer's moves
    EXPECT_EQ(ShownFace(button_), 1);
}

TEST_F(ImageButton, TheIconSitsInTheMiddleOfTheFace) {
    skin::CSomBitmap* icons = Picture(10002);  // 15 x 15
    button_.SetIcon(icons, 4);
    Make();
    const RECT place = button_.Bounds();
    const RECT iconArea{place.left + 5, place.top + 3, place.left + 20, place.top + 18};
    const int shown = skin_test::ShownFrame(Shot(), iconArea, 12, [&](HDC dc, int frame) {
        HBRUSH brush = CreateSolidBrush(kBackground);
        FillRect(dc, &place, brush);
        DeleteObject(brush);
        Picture(kCloseFace)->DrawFrame(dc, place.left, place.top, 0);
        icons->DrawFrame(dc, iconArea.left, iconArea.top, frame);
    });
    EXPECT_EQ(shown, 4);
}

class PanelButton : public Buttons {
protected:
    void Make(uint32_t flags = kSomVisible | kSomAutoSize) {
        panel_.Create(&host_.manager, nullptr, 0, 20, 20, 0, 0, 301, flags);
        panel_.SetTitle(L"客厅的盒子");
        panel_.SetSubtitle(L"192.168.1.20");
        skin_test::Pump();
    }
    // Which panel frame shows in a strip of the panel that no text or badge covers.
    int ShownPanelFrame() {
        const RECT& b = panel_.Bounds();
        const RECT strip{b.left + 100, b.top + 2, b.left + 150, b.top + 12};
        return skin_test::ShownFrame(Shot(), strip, 3, [&](HDC dc, int frame) {
            Picture(10022)->DrawStretchWidth(dc, b.left, b.top, panel_.Width(), frame);
        });
    }
    int WhiteInk(const RECT& area) { return skin_test::WhiteInk(Shot(), area); }
    skin::CLFPanelButton panel_;
};

TEST_F(PanelButton, TakesThePanelPicturesSizeAndLightsUpUnderThePointer) {
    Make();
    EXPECT_EQ(panel_.Width(), 178);
    EXPECT_EQ(panel_.Height(), 69);
    EXPECT_EQ(ShownPanelFrame(), 0);
    skin_test::MouseMove(CentreOf(panel_));
    EXPECT_EQ(ShownPanelFrame(), 1);
    skin_test::MouseMove(Outside());
    // Leaving the window is noticed on the manager's next tick, not at once.
    EXPECT_TRUE(skin_test::PumpUntil([&] { return ShownPanelFrame() == 0; }));
}

TEST_F(PanelButton, ReportsItsCommandWhenTheButtonGoesDown) {
    Make();
    skin_test::MouseMove(CentreOf(panel_));
    skin_test::MouseDown();
    EXPECT_EQ(CommandIds(), (std::vector<WPARAM>{301}));
    skin_test::MouseUp();
    EXPECT_EQ(CommandIds(), (std::vector<WPARAM>{301}));
    skin_test::MouseDown();  // the second press of a double-click
    skin_test::MouseUp();
    EXPECT_EQ(CommandIds(), (std::vector<WPARAM>{301, 301}));
}

TEST_F(PanelButton, WritesTitleAndSubtitleInWhiteAndShowsTheBadge) {
    Make();
    const RECT& b = panel_.Bounds();
    EXPECT_GT(WhiteInk({b.left + 12, b.top + 15, b.left + 110, b.top + 38}), 20);
    EXPECT_GT(WhiteInk({b.left + 12, b.top + 40, b.left + 110, b.top + 58}), 20);
    panel_.SetTitle(L"");
    panel_.SetSubtitle(L"");
    EXPECT_EQ(WhiteInk({b.left + 12, b.top + 15, b.left + 110, b.top + 58}), 0);

    panel_.SetBadge(skin::CLFPanelButton::kNewBoxes);
    skin::CSomBitmap* badge = Picture(10025);
    const RECT badgeArea{b.right - 15 - 8, b.top + 30, b.right - 8, b.top + 40};
    const int shown = skin_test::ShownFrame(Shot(), badgeArea, 2, [&](HDC dc, int frame) {
        Picture(10022)->DrawStretchWidth(dc, b.left, b.top, panel_.Width(), 0);
        badge->DrawFrame(dc, badgeArea.left, badgeArea.top, frame);
    });
    EXPECT_EQ(shown, 1);
}

class Tabs : public Buttons {
protected:
    void Make() {
        tab_.SetIcon(Picture(10015));
        tab_.SetCaption(L"安装应用");
        tab_.Create(&host_.manager, nullptr, 0, 30, 20, 0, 0, 1001, kSomVisible | kSomAutoSize);
        skin_test::Pump();
    }
    // 0: nothing under the tab, 1: the hover wash, 2: the selected tab, 3: both.
    int ShownTabLook() {
        const RECT& b = tab_.Bounds();
        const RECT strip{b.left + 3, b.top + 40, b.left + 9, b.top + 60};
        return skin_test::ShownFrame(Shot(), strip, 4, [&](HDC dc, int look) {
            HBRUSH brush = CreateSolidBrush(kBackground);
            FillRect(dc, &b, brush);
            DeleteObject(brush);
            if (look & 2) Picture(10014)->DrawStretchWidth(dc, b.left, b.top, tab_.Width(), 1);
            if (look & 1) Picture(10014)->DrawStretchWidth(dc, b.left, b.top, tab_.Width(), 0);
        });
    }
    skin::CLFToolBarHButton tab_;
};

TEST_F(Tabs, AClickSelectsTheTabOnceAndReportsIt) {
    Make();
    EXPECT_EQ(tab_.Width(), 80);
    EXPECT_EQ(tab_.Height(), 83);
    EXPECT_EQ(ShownTabLook(), 0);
    skin_test::MouseMove(CentreOf(tab_));
    EXPECT_EQ(ShownTabLook(), 1);
    skin_test::Click(CentreOf(tab_));
    EXPECT_TRUE(tab_.IsSelected());
    EXPECT_EQ(ShownTabLook(), 3);
    skin_test::Click(CentreOf(tab_));  // already selected
    EXPECT_EQ(CommandIds(), (std::vector<WPARAM>{1001}));
    skin_test::MouseMove(Outside());
    EXPECT_TRUE(skin_test::PumpUntil([&] { return ShownTabLook() == 2; }));
    tab_.SetSelected(false);  // the host clears it when another tab of the group is chosen
    EXPECT_EQ(ShownTabLook(), 0);
}

TEST_F(Tabs, TheIconSitsCentredAtTheTop) {
    Make();
    const RECT& b = tab_.Bounds();
    EXPECT_EQ(skin_test::ShownFrame(Shot(), b.left + 12, b.top, *Picture(10015), kBackground), 0);
}

TEST_F(Tabs, TheVerticalTabDarkensWhatLiesUnderIt) {
    skin::CLFToolBarVButton tab;
    tab.Create(&host_.manager, nullptr, 0, 100, 100, 0, 0, 1002, kSomVisible | kSomAutoSize);
    EXPECT_EQ(tab.Width(), 200);
    EXPECT_EQ(tab.Height(), 75);
    const POINT corner{tab.Bounds().right - 5, tab.Bounds().top + 3};
    auto shade = [&](int alpha) {
        const skin_test::Rgb bg = skin_test::ToRgb(kBackground);
        return skin_test::Rgb{bg.r * (255 - alpha) / 255, bg.g * (255 - alpha) / 255, bg.b * (255 - alpha) / 255};
    };
    EXPECT_EQ(Shot().At(corner.x, corner.y), skin_test::ToRgb(kBackground));
    skin_test::MouseMove(CentreOf(tab));
    EXPECT_TRUE(skin_test::Near(Shot().At(corner.x, corner.y), shade(20), 1));
    skin_test::Click(CentreOf(tab));
    EXPECT_TRUE(skin_test::Near(Shot().At(corner.x, corner.y), shade(100), 1));
    EXPECT_EQ(CommandIds(), (std::vector<WPARAM>{1002}));
}

}  // namespace
