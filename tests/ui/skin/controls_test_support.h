#pragma once
// What the control tests add to the toolkit's test support: reading back a window's surface,
// telling which frame of a picture shows at a place, a parent window that reflects its
// children's notifications and writes them down, and pointer input from another thread for
// the platform's modal loops (dragging a window, a modal dialog).
#include <windows.h>

#include <functional>
#include <thread>
#include <vector>

#include "skin_test_support.h"
#include "ui/skin/dialog/menu_tip.h"
#include "ui/skin/picture/som_bitmap.h"
#include "win/reflection.h"
#include "win/window.h"

namespace skin_test {

// Copies what is on the window's client area now into canvas (at its top-left corner).
void CaptureClient(HWND window, Canvas& canvas);

// The frame of bitmap that, drawn at its natural size over background, matches canvas at
// (x, y) pixel for pixel: its number, -1 when none does, -2 when several do.
int ShownFrame(const Canvas& canvas, int x, int y, skin::CSomBitmap& bitmap, COLORREF background);
// The same for a part of a frame drawn by draw(dc, frame) into a canvas as large as shown:
// only the pixels of area are compared.
int ShownFrame(const Canvas& canvas, const RECT& area, int frames, const std::function<void(HDC, int)>& draw);

// Pixels of area that are nearly white: the ink of white captions on the skin's blue.
int WhiteInk(const Canvas& canvas, const RECT& area);

// A visible top-level window with a plain background whose children's notifications come back
// to them, and which writes down the notifications and commands it gets.
class ParentWindow : public win::WindowImpl<ParentWindow> {
public:
    // What a picker owned by this window posts when a row is chosen.
    static constexpr UINT kChoice = WM_APP + 7;

    static HBRUSH WindowClassBackground();
    explicit ParentWindow(RECT screenRect = {700, 400, 1100, 700});
    ~ParentWindow() override;

    WIN_BEGIN_MSG_MAP()
        if (watchedPicker) WIN_CHAIN_MSG_MAP_PART(watchedPicker->WatchOwner)
        WIN_MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        WIN_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WIN_MESSAGE_HANDLER(kChoice, OnChoice)
        WIN_REFLECT_NOTIFICATIONS()
    WIN_END_MSG_MAP()

    POINT ScreenPoint(HWND child, int x, int y) const;

    struct Notification {
        UINT_PTR id;
        int code;
        int item;  // for row clicks
    };
    std::vector<Notification> notifications;
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    std::vector<WPARAM> choices;  // kChoice from a picker
    // Called with each notification before it is reflected.
    std::function<void(const NMHDR&)> onNotify;
    // A picker owned by this window, told of the window's clicks and activation as a real owner does.
    skin::CMenuTip* watchedPicker = nullptr;

private:
    LRESULT OnNotify(UINT, WPARAM, LPARAM lParam, bool& handled);
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnChoice(UINT, WPARAM wParam, LPARAM, bool&);
    ScreenLock lock_;
};

// Runs steps of pointer input on a thread of its own, after delayMs, while this thread sits in a
// modal loop; joins when it goes away.
class LaterInput {
public:
    LaterInput(int delayMs, std::function<void()> steps);
    ~LaterInput();
    LaterInput(const LaterInput&) = delete;
    LaterInput& operator=(const LaterInput&) = delete;

private:
    std::thread thread_;
};

}  // namespace skin_test
