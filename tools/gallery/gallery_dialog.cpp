#include "gallery_dialog.h"

#include "skin_art.h"
#include "ui/skin/paint/skin_resources.h"

namespace gallery {

LRESULT GalleryDialog::OnInitDialog(UINT, WPARAM, LPARAM, bool& handled) {
    // Left unhandled, as the skinned dialog leaves it.
    handled = false;
    SetWindowPos(Handle(), nullptr, place.x, place.y, kSize.cx, kSize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    skin::CSomWndManager& controls = Controls();
    toolTip = controls.AttachToolTipWindow(Handle());
    const uint32_t flags = skin::kSomVisible | skin::kSomAutoSize;
    title_.Create(&controls, nullptr, 0, 16, 14, 0, 0, 0, flags);
    title_.SetText(L"{&#font=6}{&#color=0xffffff}皮肤对话框");
    hint_.Create(&controls, nullptr, 0, kTipButtonAt.x + 84, kTipButtonAt.y + 6, 0, 0, 0, flags);
    hint_.SetText(L"{&#font=3}{&#color=0x808080}指针停在按钮上显示提示");
    tipButton.SetFaceBitmap(skin::Skin()->Bitmap(skin::art::kButton));
    tipButton.SetIcon(skin::Skin()->Bitmap(skin::art::kSmallIcons), 11);
    tipButton.SetTipText(L"安装应用");
    tipButton.Create(&controls, nullptr, 0, kTipButtonAt.x, kTipButtonAt.y, 0, 0, 0, flags);
    return 0;
}

}  // namespace gallery
