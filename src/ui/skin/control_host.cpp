#include "ui/skin/control_host.h"

#include <utility>

namespace skin {

void TakeCapture(HWND host, CSomWnd*& holder, CSomWnd* wnd) {
    CSomWnd* previous = std::exchange(holder, wnd);
    if (previous && previous != wnd) previous->OnCaptureLost();
    if (host && ::GetCapture() != host) ::SetCapture(host);
}

void GiveUpCapture(HWND host, CSomWnd*& holder, CSomWnd* wnd) {
    if (!wnd || wnd != holder) return;
    if (host && ::GetCapture() == host) {
        ::ReleaseCapture();
        return;
    }
    holder = nullptr;
    wnd->OnCaptureLost();
}

void ForgetControl(HWND host, CSomWnd*& holder, CSomWnd*& hover, CSomWnd* wnd) {
    if (holder == wnd) {
        GiveUpCapture(host, holder, wnd);
        if (holder == wnd) {
            holder = nullptr;
            wnd->OnCaptureLost();
        }
    }
    if (hover == wnd) {
        hover = nullptr;
        wnd->OnMouseLeave();
    }
}

bool PointerOverClient(HWND window) {
    POINT screen{};
    GetCursorPos(&screen);
    POINT client = screen;
    ScreenToClient(window, &client);
    RECT area{};
    GetClientRect(window, &area);
    return PtInRect(&area, client) && WindowFromPoint(screen) == window;
}

void FillClassBackground(HWND window, HDC dc, const RECT* rect) {
    auto brush = window ? reinterpret_cast<HBRUSH>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND)) : nullptr;
    if (!brush) return;
    RECT area{};
    if (rect)
        area = *rect;
    else
        GetClipBox(dc, &area);
    FillRect(dc, &area, brush);
}

}  // namespace skin
