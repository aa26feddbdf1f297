// The control manager in a real window under real pointer input: hover, capture, clicks, z-order,
// the 100 ms tick, geometry changes and repaints, tooltips, and the host's destruction.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "probe_wnd.h"
#include "skin_test_support.h"
#include "ui/skin/host/som_wnd_manager.h"

namespace {

using skin::kSomDisabled;
using skin::kSomTransparent;
using skin::kSomVisible;
using skin_test::Canvas;
using skin_test::ProbeWnd;
using skin_test::Rgb;
using skin_test::TestHost;
using skin_test::ToRgb;

constexpr COLORREF kRed = RGB(200, 40, 40), kGreen = RGB(40, 200, 40);

class Manager : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host_.IsWindow());
        skin_test::MouseMove(Outside());
    }
    POINT At(int x, int y) const { return host_.ScreenPoint(x, y); }
    static POINT Outside() { return {20, 20}; }
    std::vector<WPARAM> CommandIds() const {
        std::vector<WPARAM> ids;
        for (const auto& [wParam, lParam] : host_.commands) ids.push_back(wParam);
        return ids;
    }

    TestHost host_;
};

TEST_F(Manager, TracksThePointerEnteringAndLeavingControls) {
    ProbeWnd a, b;
    a.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 1, kSomVisible);
    b.Create(&host_.manager, nullptr, 0, 100, 10, 50, 30, 2, kSomVisible);
    skin_test::MouseMove(At(20, 20));
    EXPECT_EQ(a.Count("enter"), 1);
    EXPECT_GE(a.Count("move"), 1);
    const int hostMoves = host_.hostMouseMoves;
    EXPECT_GE(hostMoves, 1);  // the host still sees moves over controls
    skin_test::MouseMove(At(120, 20));
    EXPECT_EQ(a.Count("leave"), 1);
    EXPECT_EQ(b.Count("enter"), 1);
    skin_test::MouseMove(At(80, 80));
    EXPECT_EQ(b.Count("leave"), 1);
    EXPECT_EQ(a.Count("enter"), 1);
}

TEST_F(Manager, TheFirstRegisteredControlWinsClicksAndPaintsOnTop) {
    ProbeWnd first(kRed), second(kGreen);
    first.Create(&host_.manager, nullptr, 0, 10, 10, 60, 40, 1, kSomVisible);
    second.Create(&host_.manager, nullptr, 0, 40, 20, 60, 40, 2, kSomVisible);
    skin_test::Click(At(50, 30));
    EXPECT_EQ(first.Count("down"), 1);
    EXPECT_EQ(first.Count("up"), 1);
    EXPECT_EQ(second.Count("down"), 0);
    EXPECT_EQ(CommandIds(), (std::vector<WPARAM>{1}));

    Canvas canvas(400, 300, RGB(0, 0, 0));
    host_.PrintClient(canvas);
    EXPECT_EQ(canvas.At(50, 30), ToRgb(kRed));      // overlap
    EXPECT_EQ(canvas.At(90, 50), ToRgb(kGreen));    // second alone
    EXPECT_EQ(canvas.At(200, 200), ToRgb(skin_test::kHostBackground));
    // The caller's context gets its clipping back: it can draw over the controls' places again.
    canvas.Fill(RGB(1, 2, 3));
    EXPECT_EQ(canvas.At(50, 30), (Rgb{1, 2, 3}));
}

TEST_F(Manager, AClickNotifiesTheHostOnceWithTheControlsId) {
    ProbeWnd button;
    button.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 0x1234, kSomVisible);
    skin_test::Click(At(30, 20));
    ASSERT_EQ(host_.commands.size(), 1u);
    EXPECT_EQ(host_.commands[0].first, 0x1234u);  // notification code 0 in the high word
    EXPECT_EQ(host_.commands[0].second, reinterpret_cast<LPARAM>(&button));
    EXPECT_EQ(button.Count("lost"), 1);
}

TEST_F(Manager, CaptureFollowsThePointerAcrossTheControlsEdge) {
    ProbeWnd button, other;
    button.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 7, kSomVisible);
    other.Create(&host_.manager, nullptr, 0, 100, 10, 50, 30, 8, kSomVisible);
    skin_test::MouseMove(At(30, 20));
    skin_test::MouseDown();
    skin_test::MouseMove(At(120, 20));  // over the other control, still captured
    EXPECT_EQ(button.Count("leave"), 1);
    EXPECT_EQ(other.Count("enter"), 0);
    EXPECT_EQ(other.Count("move"), 0);
    const int movesOutside = button.Count("move");
    EXPECT_GE(movesOutside, 2);  // the holder sees moves anywhere
    skin_test::MouseMove(At(30, 25));
    EXPECT_EQ(button.Count("enter"), 2);
    skin_test::MouseMove(At(200, 200));
    EXPECT_EQ(button.Count("leave"), 2);
    skin_test::MouseUp();  // released outside: no click
    EXPECT_EQ(button.Count("up"), 1);
    EXPECT_EQ(button.Count("lost"), 1);
    EXPECT_TRUE(host_.commands.empty());
    EXPECT_EQ(GetCapture(), nullptr);
    // Released: other controls are reachable again.
    skin_test::MouseMove(At(120, 20));
    EXPECT_EQ(other.Count("enter"), 1);
}

TEST_F(Manager, HiddenAndDisabledControlsGetNoPointerButStillTick) {
    ProbeWnd shown, hidden, disabled;
    shown.Create(&host_.manager, nullptr, 0, 200, 10, 50, 30, 1, kSomVisible);
    hidden.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 2, 0);
    disabled.Create(&host_.manager, nullptr, 0, 100, 10, 50, 30, 3, kSomVisible | kSomDisabled);
    skin_test::Click(At(30, 20));
    skin_test::Click(At(120, 20));
    for (const ProbeWnd* probe : {&hidden, &disabled}) {
        EXPECT_EQ(probe->Count("enter"), 0);
        EXPECT_EQ(probe->Count("move"), 0);
        EXPECT_EQ(probe->Count("down"), 0);
        EXPECT_EQ(probe->Count("cursor"), 0);
    }
    EXPECT_TRUE(host_.commands.empty());
    EXPECT_TRUE(skin_test::PumpUntil([&] {
        return shown.Count("tick") >= 3 && hidden.Count("tick") >= 3 && disabled.Count("tick") >= 3;
    }));
}

TEST_F(Manager, NoticesThePointerLeavingTheWindowOnTheNextTick) {
    ProbeWnd edge;
    edge.Create(&host_.manager, nullptr, 0, 0, 0, 50, 30, 1, kSomVisible);
    skin_test::MouseMove(At(5, 5));
    ASSERT_EQ(edge.Count("enter"), 1);
    edge.Forget();
    skin_test::MouseMove(Outside());
    EXPECT_TRUE(skin_test::PumpUntil([&] { return edge.Count("leave") == 1; }, 1000));
    // The leave came from the tick, not from a mouse move.
    ASSERT_EQ(edge.calls.front(), "leave");
    EXPECT_EQ(edge.Count("move"), 0);
}

TEST_F(Manager, TheCursorGoesToTheControlUnderIt) {
    ProbeWnd link;
    link.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 1, kSomVisible);
    skin_test::MouseMove(At(30, 20));
    EXPECT_GE(link.Count("cursor"), 1);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(Manager, ASecondCaptureEndsTheFirst) {
    ProbeWnd a, b;
    a.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 1, kSomVisible);
    b.Create(&host_.manager, nullptr, 0, 100, 10, 50, 30, 2, kSomVisible);
    host_.manager.SetCapture(&a);
    EXPECT_EQ(GetCapture(), host_.Handle());
    host_.manager.SetCapture(&b);
    EXPECT_EQ(a.Count("lost"), 1);
    EXPECT_EQ(b.Count("lost"), 0);
    host_.manager.SetCapture(&b);  // the holder asking again loses nothing
    EXPECT_EQ(b.Count("lost"), 0);
    host_.manager.ReleaseCapture(&a);  // not the holder: ignored
    EXPECT_EQ(GetCapture(), host_.Handle());
    host_.manager.ReleaseCapture(&b);
    EXPECT_EQ(b.Count("lost"), 1);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Manager, RemovingAControlEndsItsCaptureAndHover) {
    ProbeWnd a;
    a.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 1, kSomVisible);
    skin_test::MouseMove(At(30, 20));
    host_.manager.SetCapture(&a);
    host_.manager.RemoveWnd(&a);
    EXPECT_EQ(a.Count("lost"), 1);
    EXPECT_EQ(a.Count("leave"), 1);
    EXPECT_EQ(GetCapture(), nullptr);
    a.Forget();
    skin_test::Click(At(30, 20));
    EXPECT_TRUE(a.calls.empty());
}

TEST_F(Manager, SetWndRectWithUnchangedValuesDoesNothing) {
    ProbeWnd a;
    a.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 1, kSomVisible);
    skin_test::Pump();
    a.Forget();
    // No message is pumped from here on, so nothing else can invalidate the window meanwhile.
    ValidateRect(host_.Handle(), nullptr);
    host_.manager.SetWndRect(&a, 10, 10, 50, 30);
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(host_.Handle(), &update, FALSE));
    EXPECT_TRUE(a.calls.empty());

    host_.manager.SetWndRect(&a, 20, 10, 50, 30);  // moved only, painted at once
    EXPECT_EQ(a.calls, (std::vector<std::string>{"onmove", "paint:0"}));
    a.Forget();
    host_.manager.SetWndSize(&a, 60, 30);
    EXPECT_EQ(a.calls, (std::vector<std::string>{"onsize", "paint:0"}));
    EXPECT_EQ(a.Bounds().left, 20);
    EXPECT_EQ(a.Bounds().right, 80);
    a.Forget();
    host_.manager.SetWndPos(&a, 20, 10);
    EXPECT_TRUE(a.calls.empty());
    // The old place shows the background again.
    host_.manager.SetWndPos(&a, 200, 100);
    EXPECT_EQ(host_.SurfacePixel(30, 20), ToRgb(skin_test::kHostBackground));
    EXPECT_EQ(host_.SurfacePixel(230, 120), ToRgb(kRed));
}

TEST_F(Manager, HidingAControlRepaintsTheBackgroundAtOnce) {
    ProbeWnd a;
    a.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 1, kSomVisible);
    RedrawWindow(host_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(host_.SurfacePixel(30, 20), ToRgb(kRed));
    EXPECT_TRUE(a.SetVisible(false));
    EXPECT_EQ(host_.SurfacePixel(30, 20), ToRgb(skin_test::kHostBackground));
    EXPECT_FALSE(a.SetVisible(false));
    EXPECT_FALSE(a.SetVisible(true));
    EXPECT_EQ(host_.SurfacePixel(30, 20), ToRgb(kRed));
}

TEST_F(Manager, RepaintsOnePartAtOnceOrLaterWhenSuspended) {
    ProbeWnd a;
    a.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 1, kSomVisible);
    skin_test::Pump();
    a.Forget();
    const RECT part{5, 5, 10, 10};
    a.Invalidate(&part, 3);
    EXPECT_EQ(a.calls, (std::vector<std::string>{"paint:3"}));
    a.Forget();
    const RECT outside{100, 100, 120, 120};
    a.Invalidate(&outside, 3);  // nothing of the control there
    EXPECT_TRUE(a.calls.empty());

    host_.manager.SuspendImmediatePaint();
    a.Invalidate(&part, 3);
    EXPECT_TRUE(a.calls.empty());
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(host_.Handle(), &update, FALSE));
    EXPECT_EQ(update.left, 15);
    EXPECT_EQ(update.top, 15);
    host_.manager.ResumeImmediatePaint();  // paints what was queued, the part number is lost
    EXPECT_EQ(a.calls, (std::vector<std::string>{"paint:0"}));

    a.Forget();
    SendMessageW(host_.Handle(), WM_SETREDRAW, FALSE, 0);
    a.Invalidate(nullptr, 0);
    EXPECT_TRUE(a.calls.empty());
    SendMessageW(host_.Handle(), WM_SETREDRAW, TRUE, 0);
    a.Invalidate(nullptr, 0);
    EXPECT_EQ(a.calls, (std::vector<std::string>{"paint:0"}));
}

TEST_F(Manager, ComposesTransparentControlsOverTheBackground) {
    // Paints only its left half; the rest must show the host background, not stale buffer pixels.
    class HalfPainter : public skin::CSomWnd {
        void Paint(HDC dc, int, int) override {
            const RECT left{0, 0, Width() / 2, Height()};
            FillRect(dc, &left, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        }
    } half;
    ProbeWnd solid(kGreen);
    solid.Create(&host_.manager, nullptr, 0, 150, 10, 40, 40, 1, kSomVisible);
    half.Create(&host_.manager, nullptr, 0, 10, 10, 40, 40, 2, kSomVisible | kSomTransparent);
    skin_test::Pump();
    half.Invalidate();
    EXPECT_EQ(host_.SurfacePixel(15, 15), (Rgb{255, 255, 255}));
    EXPECT_EQ(host_.SurfacePixel(45, 15), ToRgb(skin_test::kHostBackground));
    Canvas canvas(400, 300, RGB(0, 0, 0));
    host_.PrintClient(canvas);
    EXPECT_EQ(canvas.At(15, 15), (Rgb{255, 255, 255}));
    EXPECT_EQ(canvas.At(45, 15), ToRgb(skin_test::kHostBackground));
    EXPECT_EQ(canvas.At(160, 20), ToRgb(kGreen));
}

TEST_F(Manager, KeepsTooltipRegionsAndAnswersTextRequests) {
    ProbeWnd a, b;
    a.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 1, kSomVisible);
    b.Create(&host_.manager, nullptr, 0, 100, 10, 50, 30, 2, kSomVisible);
    EXPECT_EQ(host_.manager.AddTip(&a, 0, nullptr), 1);
    EXPECT_EQ(host_.manager.AddTip(&a, 0, nullptr), 0);  // same control, same code
    const RECT corner{0, 0, 5, 5};
    EXPECT_EQ(host_.manager.AddTip(&b, 4, &corner), 2);
    EXPECT_EQ(host_.manager.AddTip(&a, 9, nullptr), 3);
    host_.manager.RemoveTips(&a);
    EXPECT_EQ(host_.manager.FindTip(1), nullptr);
    EXPECT_EQ(host_.manager.AddTip(&a, 0, nullptr), 1);  // the smallest free id again

    NMTTDISPINFOW request{};
    request.hdr.code = TTN_GETDISPINFOW;
    request.hdr.idFrom = 2;
    LRESULT result = -1;
    EXPECT_TRUE(host_.manager.ProcessWindowMessage(host_.Handle(), WM_NOTIFY, 0,
                                                   reinterpret_cast<LPARAM>(&request), result));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(b.Count("tip:4"), 1);
    EXPECT_STREQ(request.lpszText, L"probe tip");
    request.uFlags = TTF_IDISHWND;
    EXPECT_FALSE(host_.manager.ProcessWindowMessage(host_.Handle(), WM_NOTIFY, 0,
                                                    reinterpret_cast<LPARAM>(&request), result));
}

TEST_F(Manager, AnAttachedTooltipWindowGetsOneToolPerRegion) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0,
                               0, 0, host_.Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(tip, nullptr);
    host_.manager.AttachToolTip(tip, host_.Handle());
    EXPECT_EQ(host_.manager.ToolTipWindow(), tip);
    ProbeWnd a;
    a.Create(&host_.manager, nullptr, 0, 10, 20, 50, 30, 1, kSomVisible);
    const int id = host_.manager.AddTip(&a, 0, nullptr);
    ASSERT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = host_.Handle();
    info.uId = id;
    ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.rect.left, 10);  // host client coordinates
    EXPECT_EQ(info.rect.top, 20);
    EXPECT_EQ(info.rect.right, 60);
    EXPECT_EQ(info.rect.bottom, 50);
    host_.manager.RemoveTips(&a);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    DestroyWindow(tip);
}

TEST_F(Manager, TheHostsDestructionDetachesEveryControlAndFreesTheManager) {
    ProbeWnd a, b;
    a.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 1, kSomVisible);
    b.Create(&host_.manager, nullptr, 0, 100, 10, 50, 30, 2, kSomVisible);
    skin_test::MouseMove(At(30, 20));
    host_.manager.SetCapture(&a);
    DestroyWindow(host_.Handle());
    EXPECT_EQ(a.Count("leave"), 1);
    EXPECT_EQ(a.Count("lost"), 1);
    EXPECT_EQ(a.Count("destroy"), 1);
    EXPECT_EQ(b.Count("destroy"), 1);
    EXPECT_EQ(a.Manager(), nullptr);
    EXPECT_EQ(a.Id(), 0);
    EXPECT_FALSE(a.IsVisible());
    EXPECT_EQ(host_.manager.Host(), nullptr);

    // The same host object can make a new window: the manager binds to it and ticks again.
    host_.Open();
    ASSERT_TRUE(host_.IsWindow());
    EXPECT_EQ(host_.manager.Host(), host_.Handle());
    ProbeWnd c;
    c.Create(&host_.manager, nullptr, 0, 10, 10, 50, 30, 3, kSomVisible);
    EXPECT_TRUE(skin_test::PumpUntil([&] { return c.Count("tick") >= 2; }));
}

TEST(SomWnd, CreateRegistersThenCreatesMovesAndSizes) {
    TestHost host;
    ProbeWnd a;
    EXPECT_FALSE(a.IsVisible());
    EXPECT_EQ(a.Manager(), nullptr);
    a.Create(&host.manager, &host, 2, 5, 6, 7, 8, 99, kSomVisible);
    EXPECT_EQ(a.calls, (std::vector<std::string>{"create", "onmove", "onsize"}));
    EXPECT_EQ(a.Bounds().left, 5);
    EXPECT_EQ(a.Bounds().bottom, 14);
    EXPECT_EQ(a.OwnerItem(), &host);
    EXPECT_EQ(a.Column(), 2);
    EXPECT_EQ(a.Id(), 99);
    EXPECT_TRUE(a.IsEnabled());
}

}  // namespace
