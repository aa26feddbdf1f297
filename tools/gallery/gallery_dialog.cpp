#include "gallery_dialog.h"

#include "ui/skin/skin_resources.h"
#include "ui/skin/tool_tip_window.h"

namespace gallery {

bool GalleryDialog::ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const bool handled = CLFDialog::ProcessWindowMessage(hwnd, msg, wParam, lParam, result);
    if (msg != WM_INITDIALOG) return handled;
    SetWindowPos(hwnd, nullptr, place.x, place.y, kSize.cx, kSize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    toolTip = skin::AttachToolTipWindow(*this, hwnd);
    const uint32_t flags = skin::kSomVisible | skin::kSomAutoSize;
    title_.Create(this, nullptr, 0, 16, 14, 0, 0, 0, flags);
    title_.SetText(L"{&#font=6}{&#color=0xffffff}皮肤对话框");
    hint_.Create(this, nullptr, 0, kTipButtonAt.x + 84, kTipButtonAt.y + 6, 0, 0, 0, flags);
    hint_.SetText(L"{&#font=3}{&#color=0x808080}指针停在按钮上显示提示");
    tipButton.SetFaceBitmap(skin::Skin()->Bitmap(10013));
    tipButton.SetIcon(skin::Skin()->Bitmap(10002), 11);
    tipButton.SetTipText(L"安装应用");
    tipButton.Create(this, nullptr, 0, kTipButtonAt.x, kTipButtonAt.y, 0, 0, 0, flags);
    return handled;
}

}  // namespace gallery
