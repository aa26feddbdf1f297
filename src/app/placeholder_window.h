#pragma once
// Stands in for the skinned main window until that window exists: same class name, styles and
// size, so that start-up, the single instance and shutdown already behave as they will.
#include "win/window.h"

namespace app {

class CPlaceholderMainWnd : public win::WindowImpl<CPlaceholderMainWnd> {
public:
    static const wchar_t* WindowClassName() { return L"ClientFrameXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX"; }
    static UINT WindowClassStyle() { return CS_DBLCLKS; }
    static HBRUSH WindowClassBackground() { return reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1); }

    HWND Create();

    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WIN_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        WIN_MESSAGE_HANDLER(WM_CLOSE, OnClose)
    WIN_END_MSG_MAP()

private:
    LRESULT OnPaint(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, bool&);
};

}  // namespace app
