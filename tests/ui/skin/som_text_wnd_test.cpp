// The markup text control in a real window: layout and auto-size, bottom alignment, colours and
// underline on the screen, link clicks reported as commands, and text changes.
#include <windows.h>
#include <gtest/gtest.h>

#include "skin_test_support.h"
#include "ui/skin/paint/skin_resources.h"
#include "ui/skin/text/run_layout.h"
#include "ui/skin/text/som_text_wnd.h"

namespace {

using skin::kSomAutoSize;
using skin::kSomDisabled;
using skin::kSomVisible;
using skin_test::Canvas;
using skin_test::CountInk;
using skin_test::TestHost;

constexpr COLORREF kWhite = RGB(255, 255, 255);

// Remembers the part of every paint call.
class RecordingText : public skin::CSomTextWnd {
public:
    std::vector<int> paintedParts;
    void Paint(HDC dc, int limit, int part) override {
        paintedParts.push_back(part);
        CSomTextWnd::Paint(dc, limit, part);
    }
};

class TextControl : public ::testing::Test {
protected:
    void SetUp() override { skin_test::MouseMove({20, 20}); }

    void Make(const wchar_t* markup, uint32_t flags = kSomVisible | kSomAutoSize, int x = 20, int y = 20) {
        text_.Create(&host_.manager, nullptr, 0, x, y, 0, 0, 0, flags);
        text_.SetDefaultColor(kWhite);
        text_.SetText(markup);
        skin_test::Pump();
    }
    // Host client point of the middle of run i.
    POINT RunCentre(int i) const {
        const skin::RunRect& b = text_.Runs()[i].bounds;
        return host_.ScreenPoint(text_.Bounds().left + (b.left + b.right) / 2,
                                 text_.Bounds().top + (b.top + b.bottom) / 2);
    }
    RECT RunArea(int i) const {
        const skin::RunRect& b = text_.Runs()[i].bounds;
        RECT area{b.left, b.top, b.right, b.bottom};
        OffsetRect(&area, text_.Bounds().left, text_.Bounds().top);
        return area;
    }
    skin_test::InkCount InkOfRun(int i, COLORREF ink) {
        Canvas canvas(400, 300, RGB(0, 0, 0));
        host_.PrintClient(canvas);
        return CountInk(canvas, RunArea(i), skin_test::kHostBackground, ink);
    }
    std::vector<WPARAM> CommandIds() const {
        std::vector<WPARAM> ids;
        for (const auto& [wParam, lParam] : host_.commands) ids.push_back(wParam);
        return ids;
    }
    static SIZE Extent(int slot, const wchar_t* text) {
        Canvas canvas(1, 1, 0);
        SelectObject(canvas.dc(), skin::Skin()->fonts.Handle(slot));
        SIZE size{};
        GetTextExtentPoint32W(canvas.dc(), text, lstrlenW(text), &size);
        return size;
    }

    TestHost host_;
    RecordingText text_;
};

TEST_F(TextControl, SizesItselfToTheTextInItsFont) {
    Make(L"{&#font=8}{&#color=0xffffff}没有找到盒子{&#/color}{&#/font}");
    const SIZE expected = Extent(7, L"没有找到盒子");
    EXPECT_GT(expected.cx, 6 * 12);
    EXPECT_EQ(text_.Width(), expected.cx);
    EXPECT_EQ(text_.Height(), expected.cy);
    EXPECT_EQ(text_.Bounds().left, 20);  // auto-size keeps the position
    text_.SetText(L"");
    EXPECT_EQ(text_.Width(), 0);
    EXPECT_EQ(text_.Height(), 0);
}

TEST_F(TextControl, WithoutAutoSizeKeepsTheHostsSize) {
    text_.Create(&host_.manager, nullptr, 0, 10, 10, 300, 40, 0, kSomVisible);
    text_.SetText(L"{&#font=10}宽");
    EXPECT_EQ(text_.Width(), 300);
    EXPECT_EQ(text_.Height(), 40);
    EXPECT_EQ(text_.Runs()[0].bounds.bottom, Extent(9, L"宽").cy);
}

TEST_F(TextControl, PlacesSmallerRunsOnTheBottomEdgeOfTheTallest) {
    Make(L"{&#font=9}大字{&#/font}{&#font=5}{&#a=button:1}链接{&#/a}");
    ASSERT_EQ(text_.Runs().size(), 2u);
    const skin::RunRect big = text_.Runs()[0].bounds, link = text_.Runs()[1].bounds;
    EXPECT_EQ(big.top, 0);
    EXPECT_GT(link.top, big.top);
    EXPECT_EQ(link.bottom, big.bottom);
    EXPECT_EQ(link.left, big.right);
    EXPECT_EQ(text_.Height(), big.bottom);
    EXPECT_EQ(text_.Width(), link.right);
}

TEST_F(TextControl, DrawsLinksInTheLinkColourAndTheHoveredLinkLighter) {
    Make(L"{&#font=6}看看 {&#a=button:0x1F}链接{&#/a}");
    const auto plain = InkOfRun(0, kWhite);
    EXPECT_GT(plain.strong, 10);
    EXPECT_EQ(plain.foreign, 0);
    const auto link = InkOfRun(1, skin::kDefaultLinkColor);
    EXPECT_GT(link.strong, 10);
    EXPECT_EQ(link.foreign, 0);

    text_.paintedParts.clear();
    skin_test::MouseMove(RunCentre(1));
    EXPECT_EQ(text_.HoverRun(), 1);
    // Only the link was repainted, at once.
    EXPECT_EQ(text_.paintedParts, std::vector<int>{2});
    const auto hovered = InkOfRun(1, skin::kHoverLinkColor);
    EXPECT_GT(hovered.strong, 10);
    EXPECT_EQ(hovered.foreign, 0);
    EXPECT_EQ(InkOfRun(0, kWhite).foreign, 0);
}

TEST_F(TextControl, UnderlinesAnUnderlineLinkOnlyWhileHovered) {
    Make(L"{&#font=6}{&#underline}{&#a=button:2}下划线链接{&#/a}");
    auto fullRows = [&](COLORREF ink) {
        Canvas canvas(400, 300, RGB(0, 0, 0));
        host_.PrintClient(canvas);
        const RECT area = RunArea(0);
        int rows = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            const RECT row{area.left + 1, y, area.right - 1, y + 1};
            if (CountInk(canvas, row, skin_test::kHostBackground, ink).strong >= row.right - row.left - 1) ++rows;
        }
        return rows;
    };
    EXPECT_EQ(fullRows(skin::kDefaultLinkColor), 0);
    skin_test::MouseMove(RunCentre(0));
    EXPECT_GE(fullRows(skin::kHoverLinkColor), 1);
}

TEST_F(TextControl, AClickOnAButtonLinkReportsItsCommand) {
    Make(L"{&#font=5}去 {&#a=button:0x1F}这里{&#/a} {&#a=button:}零{&#/a} {&#a=http://x}外{&#/a}");
    skin_test::Click(RunCentre(1));
    ASSERT_EQ(host_.commands.size(), 1u);
    EXPECT_EQ(host_.commands[0].first, 31u);
    EXPECT_EQ(host_.commands[0].second, reinterpret_cast<LPARAM>(&text_));
    skin_test::Click(RunCentre(3));
    skin_test::Click(RunCentre(5));  // not a command
    skin_test::Click(RunCentre(0));  // plain text
    EXPECT_EQ(CommandIds(), (std::vector<WPARAM>{31, 0}));
}

TEST_F(TextControl, TheLinkUnderThePointerAtReleaseGetsTheClick) {
    Make(L"{&#font=5}{&#a=button:306}重新安装{&#/a}    {&#a=button:305}继续安装其他应用{&#/a}");
    skin_test::MouseMove(RunCentre(0));
    skin_test::MouseDown();
    EXPECT_EQ(text_.PressedRun(), 0);
    skin_test::MouseMove(RunCentre(2));
    skin_test::MouseUp();
    EXPECT_EQ(CommandIds(), (std::vector<WPARAM>{305}));
    EXPECT_EQ(text_.PressedRun(), -1);
}

TEST_F(TextControl, ALinkWhoseTextChangedUnderAStillPointerTakesTheNextClick) {
    // A toggle's link says the opposite once clicked; the user clicks it again without moving.
    Make(L"{&#font=5}{&#a=button:323}显示系统应用{&#/a}");
    skin_test::Click(RunCentre(0));
    text_.SetText(L"{&#font=5}{&#a=button:323}隐藏系统应用{&#/a}");
    skin_test::MouseDown();
    skin_test::MouseUp();
    EXPECT_EQ(CommandIds(), (std::vector<WPARAM>{323, 323}));
}

TEST_F(TextControl, ReleasingOutsideReportsNothing) {
    Make(L"{&#font=5}{&#a=button:307}重新扫描联网的智能电视盒{&#/a}");
    skin_test::MouseMove(RunCentre(0));
    skin_test::MouseDown();
    skin_test::MouseMove(host_.ScreenPoint(300, 250));
    EXPECT_EQ(text_.HoverRun(), -1);
    skin_test::MouseUp();
    EXPECT_TRUE(host_.commands.empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TextControl, ADoubleClickReportsTwoClicks) {
    Make(L"{&#font=5}{&#a=button:305}继续安装{&#/a}");
    skin_test::Click(RunCentre(0));
    skin_test::Click(RunCentre(0));
    EXPECT_EQ(CommandIds(), (std::vector<WPARAM>{305, 305}));
}

TEST_F(TextControl, KeepsTheHighlightOverEmptySpaceUntilAPlainRunOrLeaving) {
    Make(L"{&#font=9}{&#a=button:1}大链接{&#/a}{&#font=1}小字");
    const skin::RunRect small = text_.Runs()[1].bounds;
    ASSERT_GT(small.top, 2);
    skin_test::MouseMove(RunCentre(0));
    EXPECT_EQ(text_.HoverRun(), 0);
    // Above the small run: inside the control, over no run.
    skin_test::MouseMove(host_.ScreenPoint(text_.Bounds().left + small.left + 2, text_.Bounds().top + 1));
    EXPECT_EQ(text_.HoverRun(), 0);
    skin_test::MouseMove(RunCentre(1));
    EXPECT_EQ(text_.HoverRun(), -1);
    skin_test::MouseMove(RunCentre(0));
    EXPECT_EQ(text_.HoverRun(), 0);
    skin_test::MouseMove(host_.ScreenPoint(300, 250));
    EXPECT_EQ(text_.HoverRun(), -1);
}

TEST_F(TextControl, ADisabledControlIsGreyAndIgnoresThePointer) {
    Make(L"{&#font=6}{&#color=0x0000ff}红{&#a=button:9}链接{&#/a}", kSomVisible | kSomAutoSize | kSomDisabled);
    for (int i = 0; i < 2; ++i) {
        const auto ink = InkOfRun(i, skin::kDisabledTextColor);
        EXPECT_GT(ink.strong, 5);
        EXPECT_EQ(ink.foreign, 0);
    }
    skin_test::Click(RunCentre(1));
    EXPECT_EQ(text_.HoverRun(), -1);
    EXPECT_TRUE(host_.commands.empty());
}

TEST_F(TextControl, TheSameTextAgainChangesNothing) {
    const wchar_t* caption = L"{&#font=5}{&#a=button:305}继续安装{&#/a}";
    Make(caption);
    skin_test::MouseMove(RunCentre(0));
    ASSERT_EQ(text_.HoverRun(), 0);
    const size_t paints = text_.paintedParts.size();
    const RECT bounds = text_.Bounds();
    text_.SetText(std::wstring(caption).c_str());
    EXPECT_EQ(text_.HoverRun(), 0);
    EXPECT_EQ(text_.paintedParts.size(), paints);
    EXPECT_TRUE(EqualRect(&bounds, &text_.Bounds()));

    text_.SetText(L"{&#font=5}{&#a=button:306}重新安装{&#/a}");
    EXPECT_EQ(text_.HoverRun(), -1);
    EXPECT_GT(text_.paintedParts.size(), paints);
    EXPECT_EQ(text_.paintedParts.back(), 0);
}

TEST_F(TextControl, ANewTextDuringAPressEndsItWithoutAClick) {
    Make(L"{&#font=5}{&#a=button:306}重新安装{&#/a}");
    skin_test::MouseMove(RunCentre(0));
    skin_test::MouseDown();
    ASSERT_EQ(GetCapture(), host_.Handle());
    text_.SetText(L"{&#font=5}{&#a=button:305}继续安装{&#/a}");
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(text_.PressedRun(), -1);
    skin_test::MouseUp();
    EXPECT_TRUE(host_.commands.empty());
}

TEST_F(TextControl, FormatsItsTextPrintfStyle) {
    Make(L"");
    text_.SetTextFormat(L"{&#font=3}{&#color=0xffffff}%s{&#/color}{&#/font} %d个", L"192.168.1.20", 42);
    EXPECT_EQ(text_.Text(), L"{&#font=3}{&#color=0xffffff}192.168.1.20{&#/color}{&#/font} 42个");
    text_.SetTextFormat(nullptr);
    EXPECT_EQ(text_.Runs().size(), 2u);
}

TEST_F(TextControl, AMaximumWidthLimitsTheSizeAndTheDrawing) {
    Make(L"{&#font=10}{&#color=0xffffff}拖拽APK文件到此区域");
    const int full = text_.Width();
    text_.SetMaxWidth(60);
    EXPECT_EQ(text_.Width(), 60);
    text_.SetMaxWidth(-1);  // auto-size grows back to the text
    EXPECT_EQ(text_.Width(), full);

    text_.SetMaxWidth(60);
    host_.manager.SetWndSize(&text_, full, text_.Height());  // room, but the limit stays
    Canvas canvas(400, 300, RGB(0, 0, 0));
    host_.PrintClient(canvas);
    const RECT left{20, 20, 80, 20 + text_.Height()}, right{80, 20, 20 + full, 20 + text_.Height()};
    EXPECT_GT(CountInk(canvas, left, skin_test::kHostBackground, kWhite).strong, 10);
    const auto beyond = CountInk(canvas, right, skin_test::kHostBackground, kWhite);
    EXPECT_EQ(beyond.strong + beyond.foreign, 0);
}

TEST_F(TextControl, TakesTheCursorOverLinksOnlyAndShowsTheHandThere) {
    Make(L"{&#font=5}字{&#a=button:1}链{&#/a}");
    auto local = [&](int i) {
        const skin::RunRect& b = text_.Runs()[i].bounds;
        return POINT{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    };
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW), hand = LoadCursorW(nullptr, IDC_HAND);
    SetCursor(arrow);
    EXPECT_FALSE(text_.OnSetCursor(local(0)));
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_TRUE(text_.OnSetCursor(local(1)));
    EXPECT_EQ(GetCursor(), hand);
    EXPECT_FALSE(text_.OnSetCursor({-5, -5}));
}

}  // namespace
