// The minimum size of a resizable window, under the platform's own sizing loop.
#include <windows.h>
#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "ui/skin/dialog/som_resizable_wnd.h"

namespace {

// A skinned window's sizing grip: a press in the client area starts the platform's sizing loop at
// the bottom-right corner.
class SizableWindow : public win::WindowImpl<SizableWindow>,
                      public skin::CSomResizableWnd<SizableWindow, 790, 600> {
public:
    WIN_BEGIN_MSG_MAP()
        WIN_CHAIN_MSG_MAP_PART(ProcessMinimumSize)
        WIN_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    WIN_END_MSG_MAP()

private:
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, bool&) {
        SendMessageW(hwnd_, WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, 0);
        return 0;
    }
};

SIZE Size(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

class MinimumSize : public ::testing::Test {
protected:
    void Open(DWORD style) {
        ASSERT_TRUE(window_.Create(nullptr, {100, 100, 1000, 750}, L"sizable", style, WS_EX_TOPMOST));
        ShowWindow(window_.Handle(), SW_SHOWNOACTIVATE);
        skin_test::Pump();
    }
    // Drags the grip up and left by 400 x 300: the platform's sizing loop runs while the button
    // is down.
    void ShrinkByHand() {
        const RECT before = [&] {
            RECT rect{};
            GetWindowRect(window_.Handle(), &rect);
            return rect;
        }();
        skin_test::MouseMove({before.right - 10, before.bottom - 10});
        skin_test::LaterInput drag(300, [&] {
            for (int step = 1; step <= 4; ++step)
                skin_test::MouseMove({before.right - 10 - 100 * step, before.bottom - 10 - 75 * step});
            skin_test::MouseUp();
        });
        skin_test::MouseDown();
    }
    ~MinimumSize() override {
        if (window_.IsWindow()) DestroyWindow(window_.Handle());
    }

    skin_test::ScreenLock lock_;
    SizableWindow window_;
};

TEST_F(MinimumSize, AResizableWindowStopsShrinkingAtItsMinimum) {
    Open(WS_POPUP | WS_THICKFRAME);
    ShrinkByHand();
    const SIZE size = Size(window_.Handle());
    EXPECT_EQ(size.cx, 790);
    EXPECT_EQ(size.cy, 600);
}

TEST_F(MinimumSize, AWindowWithoutSizingBorderIsNotHeldToIt) {
    Open(WS_POPUP);
    MINMAXINFO info{};
    info.ptMinTrackSize = {1, 1};
    SendMessageW(window_.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 1);
    SetWindowPos(window_.Handle(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Size(window_.Handle()).cx, 300);
}

}  // namespace
