#pragma once
// What every manager of windowless controls does for its host window (the window manager and
// the list box that hosts controls in its rows): the pointer capture among its controls, a
// control's leaving, the pointer's whereabouts and the class background.
#include <windows.h>

#include "ui/skin/som_wnd.h"

namespace skin {

// holder := wnd; the previous holder loses the capture; the host takes the platform capture.
void TakeCapture(HWND host, CSomWnd*& holder, CSomWnd* wnd);
// Only for the holder: the platform capture is released, and the holder's capture ends with
// the WM_CAPTURECHANGED that follows (at once when the host never had the platform capture).
void GiveUpCapture(HWND host, CSomWnd*& holder, CSomWnd* wnd);
// A control leaving its manager: its capture ends and the pointer leaves it.
void ForgetControl(HWND host, CSomWnd*& holder, CSomWnd*& hover, CSomWnd* wnd);

// Whether the pointer is over the window's client area and not over some other window.
bool PointerOverClient(HWND window);
// Fills rect (null: the clip box) with the window class's background brush, if it has one.
void FillClassBackground(HWND window, HDC dc, const RECT* rect);

}  // namespace skin
