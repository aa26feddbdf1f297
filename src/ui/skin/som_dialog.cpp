#include "ui/skin/som_dialog.h"

#include <windowsx.h>

#include "ui/skin/control_geometry.h"
#include "win/region.h"

namespace skin {

namespace {
constexpr int kCornerEllipse = 7;
constexpr int kCloseButtonTop = 1;
}  // namespace

win::DialogTemplate CSomDialog::Template() const {
    return win::DialogTemplate(style_, exStyle_, kTemplateUnits, L"MS Shell Dlg", 8);
}

bool CSomDialog::ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (CSomWndManager::ProcessWindowMessage(hwnd, msg, wParam, lParam, result)) return true;
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog();
        return false;
    case WM_SIZE:
        OnSize(wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return false;
    case WM_LBUTTONDOWN:
        // No control took the press: the user drags the dialog from here.
        ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
        result = 0;
        return true;
    case WM_COMMAND:
        if (wParam < 1 || wParam > kLastEndingCommand) return false;
        EndDialog(static_cast<INT_PTR>(wParam));
        result = 0;
        return true;
    default:
        return false;
    }
}

void CSomDialog::OnInitDialog() {
    closeButton_.Create(this, nullptr, 0, 0, 0, 0, 0, IDCANCEL, kSomVisible | kSomAutoSize);
    closeButton_.SetFaceBitmap(closeFace_);
}

void CSomDialog::OnSize(WPARAM kind, int cx, int cy) {
    if (kind == SIZE_MINIMIZED) return;
    SetDialogRegion(cx, cy);
    closeButton_.SetWndPos(CloseButtonLeft(cx, closeButton_.Width(), kind == SIZE_MAXIMIZED), kCloseButtonTop);
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

void CSomDialog::PaintBackground(HDC dc, const RECT*) {
    if (!background_ || !Host()) return;
    RECT client{};
    GetClientRect(Host(), &client);
    background_->Draw(dc, 0, 0, client.right, client.bottom, 0);
}

}  // namespace skin
