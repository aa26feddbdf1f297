#include "controls_test_support.h"

#include "ui/skin/list/list_row.h"
#include "ui/skin/list/som_list_box.h"

namespace skin_test {

void CaptureClient(HWND window, Canvas& canvas) {
    HDC dc = GetDC(window);
    BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
}

int ShownFrame(const Canvas& canvas, const RECT& area, int frames, const std::function<void(HDC, int)>& draw) {
    int found = -1;
    for (int frame = 0; frame < frames; ++frame) {
        Canvas expected(canvas.width(), canvas.height(), RGB(0, 0, 0));
        draw(expected.dc(), frame);
        bool same = true;
        for (int y = area.top; same && y < area.bottom; ++y) {
            for (int x = area.left; same && x < area.right; ++x) same = canvas.At(x, y) == expected.At(x, y);
        }
        if (!same) continue;
        if (found != -1) return -2;
        found = frame;
    }
    return found;
}

int ShownFrame(const Canvas& canvas, int x, int y, skin::CSomBitmap& bitmap, COLORREF background) {
    const RECT area{x, y, x + bitmap.GetFrameWidth(), y + bitmap.GetFrameHeight()};
    return ShownFrame(canvas, area, bitmap.GetFrameCount(), [&](HDC dc, int frame) {
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &area, brush);
        DeleteObject(brush);
        bitmap.DrawFrame(dc, x, y, frame);
    });
}

int WhiteInk(const Canvas& canvas, const RECT& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const Rgb p = canvas.At(x, y);
            if (p.r > 235 && p.g > 235 && p.b > 235) ++count;
        }
    }
    return count;
}

HBRUSH ParentWindow::WindowClassBackground() {
    static HBRUSH brush = CreateSolidBrush(kHostBackground);
    return brush;
}

ParentWindow::ParentWindow(RECT screenRect) {
    Create(nullptr, screenRect, L"skin test parent", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(Handle());
    Pump();
}

ParentWindow::~ParentWindow() {
    if (IsWindow()) DestroyWindow(Handle());
    Pump(10);
}

POINT ParentWindow::ScreenPoint(HWND child, int x, int y) const {
    POINT point{x, y};
    ClientToScreen(child, &point);
    return point;
}

LRESULT ParentWindow::OnNotify(UINT, WPARAM, LPARAM lParam, bool& handled) {
    const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
    const int code = static_cast<int>(header.code);
    const int item = code == skin::kListRowClicked ? reinterpret_cast<const skin::NMLISTROWCLICK*>(lParam)->item : -1;
    notifications.push_back({header.idFrom, code, item});
    if (onNotify) onNotify(header);
    handled = false;  // on to the reflection
    return 0;
}

LRESULT ParentWindow::OnCommand(UINT, WPARAM wParam, LPARAM lParam, bool& handled) {
    commands.emplace_back(wParam, lParam);
    handled = false;
    return 0;
}

LRESULT ParentWindow::OnChoice(UINT, WPARAM wParam, LPARAM, bool&) {
    choices.push_back(wParam);
    return 0;
}

LaterInput::LaterInput(int delayMs, std::function<void()> steps)
    : thread_([delayMs, steps = std::move(steps)] {
          Sleep(delayMs);
          steps();
      }) {}

LaterInput::~LaterInput() { thread_.join(); }

}  // namespace skin_test
