// The frameless skinned dialog as a real window: made from its template in memory, outlined by a
// rounded region, dragged from a free spot, closed by its close button with the cancel result,
// ended only by its ending commands, and showing a tooltip for a control that has one.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "controls_test_support.h"
#include "ui/skin/dialog/lf_dialog.h"
#include "ui/skin/tooltip/som_wnd_tip_impl.h"

namespace {

using skin_test::LaterInput;

constexpr RECT kPlace{700, 400, 1000, 600};  // 300 x 200 on the screen

// A skinned dialog whose host code places it and may add controls when it starts.
class TestDialog : public skin::CLFDialog {
public:
    std::function<void(HWND)> onInit;
    std::atomic<HWND> window{nullptr};

    bool ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        const bool handled = CLFDialog::ProcessWindowMessage(hwnd, msg, wParam, lParam, result);
        if (msg == WM_INITDIALOG) {
            window = hwnd;
            if (onInit) onInit(hwnd);
        }
        return handled;
    }
};

void Place(HWND dialog) {
    SetWindowPos(dialog, HWND_TOPMOST, kPlace.left, kPlace.top, kPlace.right - kPlace.left,
                 kPlace.bottom - kPlace.top, SWP_NOACTIVATE);
}

class Dialog : public ::testing::Test {
protected:
    void SetUp() override { skin_test::MouseMove({20, 20}); }
    void TearDown() override {
        if (dialog_.IsWindow()) DestroyWindow(dialog_.Handle());
        skin_test::Pump(10);
    }
    // Made modeless, placed and shown.
    void Open() {
        dialog_.onInit = Place;
        ASSERT_TRUE(dialog_.Create(nullptr));
        ShowWindow(dialog_.Handle(), SW_SHOWNOACTIVATE);
        skin_test::Pump();
    }
    static POINT ScreenAt(int x, int y) { return {kPlace.left + x, kPlace.top + y}; }
    POINT CloseButtonCentre() {
        const RECT& b = dialog_.CloseButton().Bounds();
        return ScreenAt((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    }

    skin_test::ScreenLock lock_;
    TestDialog dialog_;
};

TEST_F(Dialog, IsMadeFromItsTemplateInDialogUnitsWithoutFrame) {
    ASSERT_TRUE(dialog_.Create(nullptr));
    RECT expected = skin::CSomDialogFrame::kTemplateUnits;
    MapDialogRect(dialog_.Handle(), &expected);
    RECT client{}, window{};
    GetClientRect(dialog_.Handle(), &client);
    GetWindowRect(dialog_.Handle(), &window);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
    EXPECT_GT(client.right, 187);  // units, not pixels
    EXPECT_EQ(window.right - window.left, client.right);  // no border
    const LONG style = GetWindowLongW(dialog_.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_VISIBLE));
}

TEST_F(Dialog, ItsOutlineCutsTheSameSmallRoundCornerAtAllFour) {
    Open();
    HRGN outline = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(dialog_.Handle(), outline), COMPLEXREGION);
    RECT box{};
    GetRgnBox(outline, &box);
    EXPECT_EQ(box.right - box.left, 300);
    EXPECT_EQ(box.bottom - box.top, 200);
    EXPECT_TRUE(PtInRegion(outline, 150, 0));
    EXPECT_TRUE(PtInRegion(outline, 0, 100));
    EXPECT_TRUE(PtInRegion(outline, 299, 100));
    EXPECT_TRUE(PtInRegion(outline, 150, 199));
    // Seen from each corner, only the corner and its two neighbours along the edges are cut.
    const char* corner[] = {"..#", ".##", "###"};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            const bool inside = corner[y][x] == '#';
            EXPECT_EQ(PtInRegion(outline, x, y) != 0, inside) << "top left " << x << "," << y;
            EXPECT_EQ(PtInRegion(outline, 299 - x, y) != 0, inside) << "top right " << x << "," << y;
            EXPECT_EQ(PtInRegion(outline, x, 199 - y) != 0, inside) << "bottom left " << x << "," << y;
            EXPECT_EQ(PtInRegion(outline, 299 - x, 199 - y) != 0, inside) << "bottom right " << x << "," << y;
        }
    }
    DeleteObject(outline);
}

TEST_F(Dialog, TheCloseButtonSitsInTheTopRightCorner) {
    Open();
    const RECT& b = dialog_.CloseButton().Bounds();
    EXPECT_EQ(b.right - b.left, 26);
    EXPECT_EQ(b.left, 300 - 5 - 26);
    EXPECT_EQ(b.top, 1);
    ShowWindow(dialog_.Handle(), SW_MAXIMIZE);
    skin_test::Pump();
    RECT client{};
    GetClientRect(dialog_.Handle(), &client);
    EXPECT_EQ(dialog_.CloseButton().Bounds().left, client.right - 2 - 26);
}

TEST_F(Dialog, APressOnAFreeSpotDragsTheDialog) {
    Open();
    skin_test::MouseMove(ScreenAt(150, 100));
    {
        LaterInput drag(300, [] {
            for (int step = 1; step <= 4; ++step) skin_test::MouseMove(ScreenAt(150 + 10 * step, 100 + 8 * step));
            skin_test::MouseUp();
        });
        skin_test::MouseDown();  // the move runs until the button comes up
    }
    skin_test::Pump();
    RECT window{};
    GetWindowRect(dialog_.Handle(), &window);
    EXPECT_EQ(window.left, kPlace.left + 40);
    EXPECT_EQ(window.top, kPlace.top + 32);
}

TEST_F(Dialog, APressOnAControlDoesNotMoveTheDialog) {
    Open();
    skin_test::MouseMove(CloseButtonCentre());
    skin_test::MouseDown();
    skin_test::MouseMove(ScreenAt(150, 100));
    skin_test::MouseUp();  // off the button: no click either
    RECT window{};
    GetWindowRect(dialog_.Handle(), &window);
    EXPECT_EQ(window.left, kPlace.left);
    EXPECT_EQ(window.top, kPlace.top);
    EXPECT_TRUE(dialog_.IsWindow());
}

TEST_F(Dialog, TheCloseButtonEndsAModalDialogWithTheCancelResult) {
    dialog_.onInit = Place;
    INT_PTR result = 0;
    {
        LaterInput click(0, [this] {
            skin_test::PumpUntil([this] { return dialog_.window && IsWindowVisible(dialog_.window); }, 5000);
            skin_test::Click(CloseButtonCentre());
        });
        result = dialog_.DoModal(nullptr);
    }
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(dialog_.IsWindow());
}

TEST_F(Dialog, OnlyCommandsOneToElevenWithoutACodeEndIt) {
    Open();
    SendMessageW(dialog_.Handle(), WM_COMMAND, 12, 0);
    EXPECT_TRUE(dialog_.IsWindow());
    SendMessageW(dialog_.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);
    EXPECT_TRUE(dialog_.IsWindow());
    SendMessageW(dialog_.Handle(), WM_COMMAND, 11, 0);
    EXPECT_FALSE(dialog_.IsWindow());
    EXPECT_EQ(dialog_.Result(), 11);
}

TEST_F(Dialog, ATooltipAppearsForAControlThatHasOne) {
    skin::CSomWndTipImpl<skin::CSomButton3> minimize, silent;
    HWND toolTip = nullptr;
    dialog_.onInit = [&](HWND hwnd) {
        Place(hwnd);
        toolTip = dialog_.Controls().AttachToolTipWindow(hwnd);
        for (auto* button : {&minimize, &silent}) button->SetFaceBitmap(skin::Skin()->Bitmap(10023));
        minimize.SetTipText(L"最小化");
        minimize.Create(&dialog_.Controls(), nullptr, 0, 100, 60, 0, 0, 303, skin::kSomVisible | skin::kSomAutoSize);
        silent.Create(&dialog_.Controls(), nullptr, 0, 160, 60, 0, 0, 304, skin::kSomVisible | skin::kSomAutoSize);
    };
    ASSERT_TRUE(dialog_.Create(nullptr));
    ShowWindow(dialog_.Handle(), SW_SHOWNOACTIVATE);
    ASSERT_NE(toolTip, nullptr);

    skin_test::MouseMove(ScreenAt(170, 70));  // the button without a text
    skin_test::MouseMove(ScreenAt(171, 71));
    EXPECT_EQ(SendMessageW(toolTip, TTM_GETTOOLCOUNT, 0, 0), 0);

    skin_test::MouseMove(ScreenAt(110, 70));
    skin_test::MouseMove(ScreenAt(111, 71));
    ASSERT_TRUE(skin_test::PumpUntil([&] { return IsWindowVisible(toolTip) != FALSE; }, 5000));
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    ASSERT_TRUE(SendMessageW(toolTip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.hwnd, dialog_.Handle());
    const skin::TipRegion* region = dialog_.Controls().FindTip(static_cast<int>(tool.uId));
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(region->wnd, &minimize);
    wchar_t text[80] = {};
    tool.lpszText = text;
    SendMessageW(toolTip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"最小化");

    skin_test::MouseMove(ScreenAt(250, 150));  // off the button: its region goes
    EXPECT_EQ(SendMessageW(toolTip, TTM_GETTOOLCOUNT, 0, 0), 0);
    EXPECT_TRUE(skin_test::PumpUntil([&] { return !IsWindowVisible(toolTip); }));
}

}  // namespace
