#include "ui/skin/button/lf_buttons.h"

#include "skin_art.h"
#include "ui/skin/paint/caption_text.h"
#include "ui/skin/paint/skin_resources.h"

namespace skin {

namespace {

// Panel titles that do not fit are cut at the control's edge, without an ellipsis.
constexpr UINT kPanelLineFormat = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
constexpr int kPanelTextLeft = 12, kPanelTitleTop = 15, kPanelSubtitleTop = 40;
constexpr int kBadgeRightGap = 8, kBadgeTop = 30;

SIZE FrameSize(CSomBitmap* picture) { return {picture->GetFrameWidth(), picture->GetFrameHeight()}; }

}  // namespace

void CLFSkinButton::SetTextColor(COLORREF color) {
    textColor_ = color;
    Invalidate();
}

void CLFSkinButton::OnCreate() {
    flags_ |= kSomTransparent;
    hover_ = false;
    if (IsAutoSize()) {
        const SIZE size = NaturalSize();
        SetWndSize(size.cx, size.cy);
    }
    Invalidate();
}

void CLFPanelButton::SetTitle(std::wstring title) {
    if (title == title_) return;
    title_ = std::move(title);
    Invalidate();
}

void CLFPanelButton::SetSubtitle(std::wstring subtitle) {
    if (subtitle == subtitle_) return;
    subtitle_ = std::move(subtitle);
    Invalidate();
}

void CLFPanelButton::SetBadge(int kind) {
    if (kind == badge_) return;
    badge_ = kind;
    Invalidate();
}

SIZE CLFPanelButton::NaturalSize() const { return FrameSize(Skin()->Bitmap(art::kPanel)); }

void CLFPanelButton::Paint(HDC dc, int, int) {
    Skin()->Bitmap(art::kPanel)->DrawStretchWidth(dc, 0, 0, Width(), hover_ ? 1 : 0);
    if (badge_ == kMoreBoxes || badge_ == kNewBoxes) {
        CSomBitmap* badge = Skin()->Bitmap(art::kBadge);
        badge->DrawFrame(dc, Width() - badge->GetFrameWidth() - kBadgeRightGap, kBadgeTop, badge_ - 1);
    }
    if (title_.empty() && subtitle_.empty()) return;
    DrawCaption(dc, title_, SkinFont(8), CaptionColor(), {kPanelTextLeft, kPanelTitleTop, Width(), Height()},
                kPanelLineFormat);
    DrawCaption(dc, subtitle_, SkinFont(3), CaptionColor(), {kPanelTextLeft, kPanelSubtitleTop, Width(), Height()},
                kPanelLineFormat);
}

bool CLFPanelButton::OnLButtonDown(POINT) {
    Invalidate();
    if (hover_) Manager()->Notify(this, 0, Id());
    return true;
}

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

SIZE CLFToolBarHButton::NaturalSize() const { return FrameSize(Skin()->Bitmap(art::kTab)); }

void CLFToolBarHButton::Paint(HDC dc, int, int) {
    CSomBitmap* tab = Skin()->Bitmap(art::kTab);
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
        Skin()->DarkenRect(dc, all, kSelectedShade);
    else if (hover_)
        Skin()->DarkenRect(dc, all, kHoverShade);
    const int iconWidth = icon_ ? icon_->GetFrameWidth() : 0;
    if (icon_) icon_->DrawFrame(dc, 20, (Height() - icon_->GetFrameHeight()) / 2, iconFrame_);
    if (caption_.empty()) return;
    DrawCaption(dc, caption_, SkinFont(selected_ ? 8 : 7), CaptionColor(), {iconWidth + 40, 0, Width(), Height()},
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace skin
