// The skinned header over a real header control under real pointer input: its height, the cell
// frame each state shows on the screen, the sort arrow, and the notifications that end a press or
// a divider drag.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "ui/skin/header/som_header_ctrl.h"
#include "ui/skin/paint/skin_resources.h"

namespace {

using skin_test::Canvas;

constexpr int kCellWidth = 100;

class Header : public ::testing::Test {
protected:
    void SetUp() override {
        skin_test::MouseMove({20, 20});
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&init);
        hwnd_ = CreateWindowExW(0, WC_HEADERW, nullptr, WS_CHILD | WS_VISIBLE | HDS_BUTTONS | HDS_HORZ, 0, 0, 360,
                                30, parent_.Handle(), reinterpret_cast<HMENU>(0x90), nullptr, nullptr);
        ASSERT_NE(hwnd_, nullptr);
        const wchar_t* captions[] = {L"名称", L"地址", L"状态"};
        for (int i = 0; i < 3; ++i) {
            HDITEMW item{};
            item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
            item.cxy = kCellWidth;
            item.fmt = HDF_LEFT | HDF_STRING;
            item.pszText = const_cast<wchar_t*>(captions[i]);
            SendMessageW(hwnd_, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
        ASSERT_TRUE(header_.Attach(hwnd_));
        RECT place{0, 0, 360, 300};
        WINDOWPOS wpos{};
        HDLAYOUT layout{&place, &wpos};
        ASSERT_TRUE(SendMessageW(hwnd_, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)));
        layoutHeight_ = wpos.cy;
        layoutTop_ = place.top;
        SetWindowPos(hwnd_, nullptr, wpos.x, wpos.y, wpos.cx, wpos.cy, SWP_NOZORDER);
        skin_test::Pump();
    }
    POINT At(int x, int y) const { return parent_.ScreenPoint(hwnd_, x, y); }
    Canvas& Shot() {
        skin_test::CaptureClient(hwnd_, shot_);
        return shot_;
    }
    // The cell frame in a strip of item's stretched middle that neither caption nor arrow covers.
    int ShownCellFrame(int item) {
        const int left = item * kCellWidth;
        const RECT strip{left + kCellWidth - 20, 6, left + kCellWidth - 8, 20};
        return skin_test::ShownFrame(Shot(), strip, 4, [&](HDC dc, int frame) {
            skin::Skin()->Bitmap(10004)->DrawStretchWidth(dc, left, 0, kCellWidth, frame);
        });
    }
    int PointerMoveNotes() const {
        int count = 0;
        for (const auto& n : parent_.notifications) count += n.code == skin::kHeaderPointerMoved;
        return count;
    }

    skin_test::ParentWindow parent_;
    skin::CLFHeaderCtrl header_;
    HWND hwnd_ = nullptr;
    int layoutHeight_ = 0, layoutTop_ = 0;
    Canvas shot_{360, 23, RGB(0, 0, 0)};
};

TEST_F(Header, IsAsHighAsItsCellPicture) {
    EXPECT_EQ(layoutHeight_, 23);
    EXPECT_EQ(layoutTop_, 23);
}

TEST_F(Header, DrawsCellsWithTheirCaptionsAndTheSortArrow) {
    EXPECT_EQ(ShownCellFrame(0), 0);
    EXPECT_EQ(ShownCellFrame(1), 0);
    Shot();
    int dark = 0;
    for (int y = 3; y < 20; ++y) {
        for (int x = 5; x < 40; ++x) dark += shot_.At(x, y).r < 100;
    }
    EXPECT_GT(dark, 10);  // the caption, in the device context's black

    header_.SetSortColumn(1, true);
    skin_test::Pump();
    EXPECT_EQ(ShownCellFrame(1), 3);
    EXPECT_EQ(ShownCellFrame(0), 0);
    skin::CSomBitmap* arrow = skin::Skin()->Bitmap(10005);
    const int arrowLeft = kCellWidth + (kCellWidth - 7) / 2;
    auto shownArrow = [&] {
        return skin_test::ShownFrame(Shot(), {arrowLeft, 1, arrowLeft + 7, 5}, 2, [&](HDC dc, int frame) {
            skin::Skin()->Bitmap(10004)->DrawStretchWidth(dc, kCellWidth, 0, kCellWidth, 3);
            arrow->DrawFrame(dc, arrowLeft, 1, frame);
        });
    };
    EXPECT_EQ(shownArrow(), 0);
    header_.SetSortColumn(1, false);
    skin_test::Pump();
    EXPECT_EQ(shownArrow(), 1);
}

TEST_F(Header, LightsTheCellUnderThePointerAndTellsTheParentOfEveryMove) {
    skin_test::MouseMove(At(50, 10));
    EXPECT_EQ(header_.HoverItem(), 0);
    EXPECT_EQ(ShownCellFrame(0), 1);
    EXPECT_GE(PointerMoveNotes(), 1);
    skin_test::MouseMove(At(150, 10));
    EXPECT_EQ(ShownCellFrame(0), 0);
    EXPECT_EQ(ShownCellFrame(1), 1);
    skin_test::MouseMove(At(150, 200));  // off the header
    EXPECT_TRUE(skin_test::PumpUntil([&] { return header_.HoverItem() == -1; }));
    EXPECT_EQ(ShownCellFrame(1), 0);
}

TEST_F(Header, ShowsThePressUntilTheButtonComesUp) {
    skin_test::MouseMove(At(250, 10));
    skin_test::MouseDown();
    EXPECT_EQ(header_.PressedItem(), 2);
    EXPECT_EQ(ShownCellFrame(2), 2);
    skin_test::MouseUp();
    EXPECT_EQ(header_.PressedItem(), -1);
    EXPECT_EQ(ShownCellFrame(2), 1);
}

TEST_F(Header, DraggingADividerIsNoPress) {
    skin_test::MouseMove(At(kCellWidth - 1, 10));
    skin_test::MouseDown();
    skin_test::MouseMove(At(kCellWidth + 20, 10));
    EXPECT_TRUE(header_.IsTracking());
    EXPECT_EQ(header_.PressedItem(), -1);
    skin_test::MouseMove(At(kCellWidth + 40, 10));
    skin_test::MouseUp();
    EXPECT_FALSE(header_.IsTracking());
    RECT first{};
    SendMessageW(hwnd_, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_GT(first.right, kCellWidth + 20);
}

}  // namespace
