#include "probe_wnd.h"

#include <algorithm>

namespace skin_test {

int ProbeWnd::Count(const std::string& call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

void ProbeWnd::Paint(HDC dc, int, int part) {
    calls.push_back("paint:" + std::to_string(part));
    HBRUSH brush = CreateSolidBrush(color_);
    const RECT all{0, 0, Width(), Height()};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

void ProbeWnd::OnCaptureLost() {
    calls.push_back("lost");
    if (!pressed) return;
    pressed = false;
    if (hovered) Manager()->Notify(this, 0, Id());
}

bool ProbeWnd::OnSetCursor(POINT) {
    calls.push_back("cursor");
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

bool ProbeWnd::OnLButtonDown(POINT) {
    calls.push_back("down");
    pressed = true;
    Manager()->SetCapture(this);
    return true;
}

bool ProbeWnd::OnLButtonUp(POINT) {
    calls.push_back("up");
    if (pressed) Manager()->ReleaseCapture(this);
    return true;
}

bool ProbeWnd::OnLButtonDblClk(POINT point) {
    calls.push_back("dblclk");
    return OnLButtonDown(point);
}

LRESULT ProbeWnd::OnMouseMove(POINT) {
    calls.push_back("move");
    return 0;
}

void ProbeWnd::OnMouseEnter(POINT) {
    calls.push_back("enter");
    hovered = true;
}

void ProbeWnd::OnMouseLeave() {
    calls.push_back("leave");
    hovered = false;
}

void ProbeWnd::OnGetTipText(int code, NMTTDISPINFOW* request) {
    calls.push_back("tip:" + std::to_string(code));
    request->lpszText = const_cast<wchar_t*>(L"probe tip");
}

}  // namespace skin_test
