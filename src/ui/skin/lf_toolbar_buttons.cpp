#include "ui/skin/lf_toolbar_buttons.h"

#include "ui/skin/caption_text.h"
#include "ui/skin/skin_resources.h"
#include "ui/skin/translucent_fill.h"

namespace skin {

void CLFTabButton::SetCaption(std::wstring caption) {
    caption_ = std::move(caption);
    Invalidate();
}

void CLFTabButton::SetIcon(CSomBitmap* icon, int frame) {
    icon_ = icon;
    iconFrame_ = frame;
    Invalidate();
}

void CLFTabButton::SetSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    Invalidate();
}

void CLFTabButton::OnCreate() {
    selected_ = false;
    CLFSkinButton::OnCreate();
}

bool CLFTabButton::OnLButtonDown(POINT) {
    if (selected_) return true;
    selected_ = true;
    Invalidate();
    if (hover_) Manager()->Notify(this, 0, Id());
    return true;
}

SIZE CLFToolBarHButton::NaturalSize() const {
    CSomBitmap* tab = Skin()->Bitmap(kTabPicture);
    return {tab->GetFrameWidth(), tab->GetFrameHeight()};
}

void CLFToolBarHButton::Paint(HDC dc, int, int) {
    CSomBitmap* tab = Skin()->Bitmap(kTabPicture);
    // The hover wash lies over the selected tab when both apply.
    if (selected_) tab->DrawStretchWidth(dc, 0, 0, Width(), 1);
    if (hover_) tab->DrawStretchWidth(dc, 0, 0, Width(), 0);
    const int iconHeight = icon_ ? icon_->GetFrameHeight() : 0;
    if (icon_) icon_->DrawFrame(dc, (tab->GetFrameWidth() - icon_->GetFrameWidth()) / 2, 0, iconFrame_);
    if (caption_.empty()) return;
    DrawCaption(dc, caption_, SkinFont(selected_ ? 4 : 3), CaptionColor(), {0, iconHeight, Width(), Height()},
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void CLFToolBarVButton::Paint(HDC dc, int, int) {
    const RECT all{0, 0, Width(), Height()};
    if (selected_)
        DarkenRect(dc, all, kSelectedShade);
    else if (hover_)
        DarkenRect(dc, all, kHoverShade);
    const int iconWidth = icon_ ? icon_->GetFrameWidth() : 0;
    if (icon_) icon_->DrawFrame(dc, 20, (Height() - icon_->GetFrameHeight()) / 2, iconFrame_);
    if (caption_.empty()) return;
    DrawCaption(dc, caption_, SkinFont(selected_ ? 8 : 7), CaptionColor(), {iconWidth + 40, 0, Width(), Height()},
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace skin
