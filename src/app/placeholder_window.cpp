#include "app/placeholder_window.h"

namespace app {

HWND CPlaceholderMainWnd::Create() {
    const int width = 900, height = 600;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - width) / 2;
    const int y = work.top + (work.bottom - work.top - height) / 2;
    const RECT rect{x, y, x + width, y + height};
    return WindowImpl::Create(nullptr, rect, nullptr, 0x96080000, WS_EX_APPWINDOW);
}

LRESULT CPlaceholderMainWnd::OnPaint(UINT, WPARAM, LPARAM, bool&) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, L"Mivora Box Assistant", -1, &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EndPaint(hwnd_, &ps);
    return 0;
}

LRESULT CPlaceholderMainWnd::OnLButtonDown(UINT, WPARAM, LPARAM, bool&) {
    SendMessageW(hwnd_, WM_SYSCOMMAND, 0xF012, 0);
    return 0;
}

LRESULT CPlaceholderMainWnd::OnClose(UINT, WPARAM, LPARAM, bool&) {
    DestroyWindow(hwnd_);
    PostQuitMessage(0);
    return 0;
}

}  // namespace app
