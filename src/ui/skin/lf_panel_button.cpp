#include "ui/skin/lf_panel_button.h"

#include "ui/skin/caption_text.h"
#include "ui/skin/skin_resources.h"

namespace skin {

namespace {
// Titles that do not fit are cut at the control's edge, without an ellipsis.
constexpr UINT kLineFormat = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
constexpr int kTextLeft = 12, kTitleTop = 15, kSubtitleTop = 40;
constexpr int kBadgeRightGap = 8, kBadgeTop = 30;
}  // namespace

void CLFPanelButton::SetTitle(std::wstring title) {
    title_ = std::move(title);
    Invalidate();
}

void CLFPanelButton::SetSubtitle(std::wstring subtitle) {
    subtitle_ = std::move(subtitle);
    Invalidate();
}

void CLFPanelButton::SetBadge(int kind) {
    badge_ = kind;
    Invalidate();
}

SIZE CLFPanelButton::NaturalSize() const {
    CSomBitmap* panel = Skin()->Bitmap(kPanelPicture);
    return {panel->GetFrameWidth(), panel->GetFrameHeight()};
}

void CLFPanelButton::Paint(HDC dc, int, int) {
    Skin()->Bitmap(kPanelPicture)->DrawStretchWidth(dc, 0, 0, Width(), hover_ ? 1 : 0);
    if (badge_ == kMoreBoxes || badge_ == kNewBoxes) {
        CSomBitmap* badge = Skin()->Bitmap(kBadgePicture);
        badge->DrawFrame(dc, Width() - badge->GetFrameWidth() - kBadgeRightGap, kBadgeTop, badge_ - 1);
    }
    if (title_.empty() && subtitle_.empty()) return;
    DrawCaption(dc, title_, SkinFont(8), CaptionColor(), {kTextLeft, kTitleTop, Width(), Height()}, kLineFormat);
    DrawCaption(dc, subtitle_, SkinFont(3), CaptionColor(), {kTextLeft, kSubtitleTop, Width(), Height()},
                kLineFormat);
}

bool CLFPanelButton::OnLButtonDown(POINT) {
    Invalidate();
    if (hover_) Manager()->Notify(this, 0, Id());
    return true;
}

}  // namespace skin
