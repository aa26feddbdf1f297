#include "ui/skin/dialog/som_dialog.h"

#include <windowsx.h>

#include "ui/skin/dialog/dialog_geometry.h"
#include "win/region.h"

namespace skin {

namespace {
constexpr int kCornerEllipse = 7;
constexpr int kCloseButtonTop = 1;
}  // namespace

win::DialogTemplate CSomDialogFrame::Template() const {
    return win::DialogTemplate(style_, exStyle_, kTemplateUnits, L"MS Shell Dlg", 8);
}

// No control took the press: the user drags the dialog from here.
LRESULT CSomDialogFrame::OnLButtonDown(UINT, WPARAM, LPARAM, bool&) {
    ::SendMessageW(Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return 0;
}

LRESULT CSomDialog::OnInitDialog(UINT, WPARAM, LPARAM, bool& handled) {
    closeButton_.Create(&Controls(), nullptr, 0, 0, 0, 0, 0, IDCANCEL, kSomVisible | kSomAutoSize);
    closeButton_.SetFaceBitmap(closeFace_);
    handled = false;
    return 0;
}

LRESULT CSomDialog::OnSize(UINT, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = false;
    if (wParam == SIZE_MINIMIZED) return 0;
    const int cx = GET_X_LPARAM(lParam), cy = GET_Y_LPARAM(lParam);
    SetDialogRegion(cx, cy);
    closeButton_.SetWndPos(CloseButtonLeft(cx, closeButton_.Width(), wParam == SIZE_MAXIMIZED), kCloseButtonTop);
    return 0;
}

LRESULT CSomDialog::OnEndingCommand(WORD, WORD id, HWND, bool&) {
    EndDialog(id);
    return 0;
}

void CSomDialog::SetDialogRegion(int cx, int cy) {
    win::Region outline = win::Region::RoundRect({0, 0, cx + 1, cy + 1}, kCornerEllipse, kCornerEllipse);
    // Each corner loses just the three pixels nearest to it. Platforms differ in whether the
    // diagonal pixel next to the corner lies inside so small an ellipse: it is made part of the
    // outline in any case (toggling it, which assumes it lies outside, would cut a square notch
    // where it lies inside).
    for (const POINT corner : {POINT{1, 1}, POINT{cx - 2, 1}, POINT{1, cy - 2}, POINT{cx - 2, cy - 2}})
        outline.AddPixel(corner.x, corner.y);
    outline.ApplyTo(Handle(), true);
}

}  // namespace skin
