#include "ui/main/uninstall_confirm.h"

#include "ui/main/apps_texts.h"

namespace ui {

bool CUninstallConfirm::ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const bool handled = CLFDialog::ProcessWindowMessage(hwnd, msg, wParam, lParam, result);
    if (msg == WM_INITDIALOG) Build(hwnd);
    return handled;
}

void CUninstallConfirm::Build(HWND dialog) {
    // Centred over the main window.
    RECT owner{};
    GetWindowRect(GetWindow(dialog, GW_OWNER), &owner);
    const int x = (owner.left + owner.right - kSize.cx) / 2, y = (owner.top + owner.bottom - kSize.cy) / 2;
    SetWindowPos(dialog, nullptr, x, y, kSize.cx, kSize.cy, SWP_NOZORDER);

    const uint32_t shown = skin::kSomVisible | skin::kSomAutoSize;
    question_.Create(&Controls(), nullptr, 0, 30, 40, 0, 0, 0, shown);
    question_.SetText(texts::UninstallQuestion(count_).c_str());
    if (!name_.empty()) {
        name_text_.Create(&Controls(), nullptr, 0, 30, 70, kSize.cx - 60, 24, 0, skin::kSomVisible | skin::kSomTransparent);
        name_text_.SetText(name_, 8, 0x000000);
    }
    buttons_.Create(&Controls(), nullptr, 0, 0, 0, 0, 0, 0, shown);
    buttons_.SetText(L"{&#font=8}{&#a=button:1}卸载{&#/a}        {&#a=button:2}取消{&#/a}");
    buttons_.SetWndPos((kSize.cx - buttons_.Width()) / 2, 118);
}

}  // namespace ui
