#include "ui/main/page_view.h"

#include "ui/skin/button/lf_buttons.h"
#include "ui/skin/image/som_image_wnd.h"
#include "ui/skin/paint/skin_resources.h"
#include "ui/skin/text/som_tip_text_wnd.h"

namespace ui {

namespace {

std::unique_ptr<skin::CSomWnd> MakeControl(const ControlSpec& spec) {
    switch (spec.kind) {
    case ControlKind::Text:
        return std::make_unique<skin::CSomTipTextWnd>();
    case ControlKind::Picture: {
        auto picture = std::make_unique<skin::CSomImageWnd>();
        picture->SetBitmap(skin::Skin()->Bitmap(spec.picture), 0);
        return picture;
    }
    case ControlKind::Animation: {
        auto animation = std::make_unique<skin::CSomAnimation>();
        animation->SetBitmap(skin::Skin()->Bitmap(spec.picture), 0);
        return animation;
    }
    case ControlKind::Panel:
        break;
    }
    return std::make_unique<skin::CLFPanelButton>();
}

}  // namespace

void CPageView::Create(skin::ISomWndManager& host, const std::vector<ControlSpec>& specs) {
    specs_ = specs;
    for (const ControlSpec& spec : specs_) {
        controls_.push_back(MakeControl(spec));
        controls_.back()->Create(&host, nullptr, 0, 0, 0, 0, 0, spec.command, skin::kSomAutoSize);
    }
}

std::vector<skin::BackdropLayer> CPageView::Show(const PageDescription& page, int clientWidth) {
    std::vector<int32_t> lefts;
    for (const auto& control : controls_) lefts.push_back(control->Bounds().left);
    for (size_t i = 0; i < controls_.size() && i < page.controls.size(); ++i)
        ShowControl(i, page.controls[i], clientWidth, lefts);

    std::vector<skin::BackdropLayer> layers;
    for (const LayerLook& look : page.layers) {
        skin::CSomBitmap* picture = skin::Skin()->Bitmap(look.picture);
        const auto at = Place(look.place, picture->GetFrameWidth(), clientWidth, lefts);
        if (at) layers.push_back({picture, look.frame, POINT{at->x, at->y}});
    }
    return layers;
}

void CPageView::ShowControl(size_t index, const ControlLook& look, int clientWidth, std::vector<int32_t>& lefts) {
    skin::CSomWnd& control = *controls_[index];
    if (specs_[index].kind == ControlKind::Text) {
        auto& text = static_cast<skin::CSomTipTextWnd&>(control);
        if (look.markup) text.SetText(look.markup->c_str());
        if (look.tip) text.SetTipText(*look.tip);
    }
    if (look.panel && specs_[index].kind == ControlKind::Panel) {
        auto& panel = static_cast<skin::CLFPanelButton&>(control);
        panel.SetTitle(look.panel->title);
        panel.SetSubtitle(look.panel->subtitle);
        panel.SetBadge(look.panel->badge);
    }
    if (const auto at = Place(look.place, control.Width(), clientWidth, lefts)) {
        control.SetWndPos(at->x, at->y);
        lefts[index] = at->x;
    }
    control.SetVisible(look.shown);
}

}  // namespace ui
