#include "ui/main/pages.h"

#include "base/box_address.h"
#include "skin_art.h"
#include "ui/main/commands.h"
#include "ui/main/page_texts.h"

namespace ui {

namespace art = skin::art;

namespace {

// Where the page's parts stand in the 900-pixel-wide window.
constexpr int32_t kStatusLeft = 60, kStatusTop = 48, kStatusTopWithAddress = 40, kAddressTop = 65;
constexpr int32_t kPageCentreTop = 240, kDropAreaTop = 200;
constexpr int32_t kHintTop = 360, kSearchAgainTop = 160, kConstructionTop = 320;
// Under the installing line, inside the drop area; the link under the drop area, and the reasons
// under it, one line each, from the drop area's left.
constexpr int32_t kProgressTop = 398, kActionLinkTop = 452, kReasonsTop = 480, kReasonStep = 20, kReasonsLeft = 170;
constexpr Placement kPanelPlace = Placement::At(0, 25);

ControlLook Shown(Placement place, std::optional<std::wstring> markup = std::nullopt) {
    return {true, place, std::move(markup), std::nullopt, std::nullopt};
}

// A control that keeps its place whether it shows or not.
ControlLook Fixed(bool shown, Placement place) { return {shown, place, std::nullopt, std::nullopt, std::nullopt}; }

// The failed APKs with their reasons, as many as there are lines; the last line tells how many
// more there are when they do not all fit.
void ShowReasons(PageDescription& page, const std::vector<FailedApk>& failed) {
    using P = InstallPage;
    const size_t listed = failed.size() <= P::kReasonLines ? failed.size() : P::kReasonLines - 1;
    for (size_t i = 0; i < P::kReasonLines; ++i) {
        const Placement place = Placement::At(kReasonsLeft, kReasonsTop + static_cast<int32_t>(i) * kReasonStep);
        if (i < listed)
            page.controls[P::kReasonLine0 + i] = Shown(place, texts::ReasonLine(failed[i]));
        else if (i == listed && listed < failed.size())
            page.controls[P::kReasonLine0 + i] = Shown(place, texts::MoreReasons(failed.size() - listed));
    }
}

void ShowResultLines(PageDescription& page, const Session& session) {
    using P = InstallPage;
    auto& c = page.controls;
    const FinishedBatch& outcome = session.Queue().Finished();
    const size_t total = outcome.total, failed = outcome.failed.size();
    switch (ClassifyBatch(total, failed)) {
    case BatchOutcome::AllInstalled:
        c[P::kDonePicture].shown = true;
        c[P::kResultLine1] = Shown(Placement::Centred(340), texts::AllInstalled());
        c[P::kResultLine2] = Shown(Placement::Centred(390), texts::ContinueLink());
        break;
    case BatchOutcome::SomeFailed:
        // Every line takes the x that centres the first.
        c[P::kDonePicture].shown = true;
        c[P::kResultLine1] = Shown(Placement::Centred(320), texts::SomeInstalled());
        c[P::kResultLine2] = Shown(Placement::AlignedWith(P::kResultLine1, 360), texts::InstalledCount(total - failed));
        c[P::kResultLine3] = Shown(Placement::AlignedWith(P::kResultLine1, 390), texts::FailedCountWithLinks(failed));
        c[P::kResultLine3].tip = texts::ReasonsTip(outcome.failed);
        break;
    case BatchOutcome::NothingInstalled:
        c[P::kResultLine1] = Shown(Placement::Centred(300), texts::NothingInstalled());
        c[P::kResultLine1].tip = texts::ReasonsTip(outcome.failed);
        c[P::kResultLine3] = Shown(Placement::Centred(360), texts::InstallAgainLink());
        c[P::kResultLine2] = Shown(Placement::Centred(390), texts::ContinueWithOthersLink());
        break;
    }
    if (failed == 0) return;
    c[P::kActionLink] = Shown(Placement::Centred(kActionLinkTop), texts::ReasonsLink(session.ReasonsShown()));
    if (session.ReasonsShown()) ShowReasons(page, outcome.failed);
}

// The line that names the APK being installed, how far the batch has come, and the cancel link.
void ShowInstalling(PageDescription& page, const Session& session) {
    using P = InstallPage;
    auto& c = page.controls;
    const InstallQueue& queue = session.Queue();
    c[P::kInstallAnimation].shown = true;
    c[P::kInstallText] = Shown(Placement::Centred(kHintTop), texts::Installing(queue.ApkName(queue.InstallingId())));
    c[P::kProgressText] = Shown(Placement::Centred(kProgressTop),
                                texts::InstallProgress(queue.InstallingPosition(), queue.BatchSize(), queue.Percent()));
    c[P::kActionLink] = Shown(Placement::Centred(kActionLinkTop),
                              session.Cancelling() ? texts::Cancelling() : texts::CancelLink());
}

}  // namespace

BatchOutcome ClassifyBatch(size_t total, size_t failed) {
    if (failed == 0 && total > 0) return BatchOutcome::AllInstalled;
    if (failed > 0 && failed < total) return BatchOutcome::SomeFailed;
    return BatchOutcome::NothingInstalled;
}

const std::vector<ControlSpec>& DeviceArea::Controls() {
    static const std::vector<ControlSpec> controls{
        {ControlKind::Text},
        {ControlKind::Text},
        {ControlKind::Picture, art::kNoBox},
        {ControlKind::Animation, art::kSearch},
        {ControlKind::Panel, 0, cmd::kDevicePanel},
    };
    return controls;
}

PageDescription DeviceArea::Describe(const Session& session) {
    const PageState state = session.State();
    PageDescription page = HiddenPage(kCount);
    auto& c = page.controls;
    c[kNoBoxPicture] = Fixed(state == NoBox, Placement::At(15, 44));
    c[kSearchAnimation] = Fixed(state == Searching || state == Identifying, Placement::At(15, 46));
    c[kDevicePanel] = Fixed(state >= Ready, kPanelPlace);
    if (state >= Ready) {
        const BoxRegistry& boxes = session.Boxes();
        c[kDevicePanel].panel = PanelLook{boxes.DisplayName(boxes.Current()), base::BoxText(boxes.Current()), session.Badge()};
        return page;
    }
    c[kStatusTitle] = Shown(Placement::At(kStatusLeft, state == Identifying ? kStatusTopWithAddress : kStatusTop),
                            texts::StatusTitle(state));
    if (state == Identifying)
        c[kStatusAddress] = Shown(Placement::At(kStatusLeft, kAddressTop),
                                  texts::StatusAddress(base::BoxText(session.AnsweringBox())));
    return page;
}

const std::vector<ControlSpec>& InstallPage::Controls() {
    static const std::vector<ControlSpec> controls{
        {ControlKind::Picture, art::kWaiting},
        {ControlKind::Picture, art::kReady},
        {ControlKind::Animation, art::kInstalling},
        {ControlKind::Text},
        {ControlKind::Picture, art::kDone},
        {ControlKind::Text},
        {ControlKind::Text},
        {ControlKind::Text},
        {ControlKind::Text},
        {ControlKind::Text},
        {ControlKind::Text},
        {ControlKind::Text},
        {ControlKind::Text},
        {ControlKind::Text},
        {ControlKind::Text},
        {ControlKind::Text},
    };
    return controls;
}

PageDescription InstallPage::Describe(const Session& session) {
    const PageState state = session.State();
    PageDescription page = HiddenPage(kCount);
    auto& c = page.controls;
    const Placement centre = Placement::Centred(kPageCentreTop);
    for (Control picture : {kWaitPicture, kReadyPicture, kInstallAnimation, kDonePicture}) c[picture] = Fixed(false, centre);
    // Without a box the status lines stand on the device panel's picture, the panel itself hidden.
    if (state <= Identifying) page.layers.push_back({art::kPanel, 0, kPanelPlace});
    page.layers.push_back({art::kDropZone, 0, Placement::Centred(kDropAreaTop)});

    switch (state) {
    case NoBox:
        c[kResultLine3] = Shown(Placement::Centred(kSearchAgainTop), texts::SearchAgainLink());
        [[fallthrough]];
    case Searching:
    case Identifying:
        c[kWaitPicture].shown = true;
        c[kDropHint] = Shown(Placement::Centred(kHintTop), texts::DropHintWaiting());
        break;
    case Ready:
        c[kReadyPicture].shown = true;
        c[kDropHint] = Shown(Placement::Centred(kHintTop),
                             texts::DropHintReady(session.Boxes().DisplayName(session.Boxes().Current())));
        break;
    case Installing:
        ShowInstalling(page, session);
        break;
    case Done:
        ShowResultLines(page, session);
        break;
    }
    // A failure line's tooltip goes with the batch it tells of.
    for (Control line : {kResultLine1, kResultLine3})
        if (!c[line].tip) c[line].tip = std::wstring();
    return page;
}

const std::vector<ControlSpec>& ConstructionPage::Controls() {
    static const std::vector<ControlSpec> controls{{ControlKind::Text}};
    return controls;
}

PageDescription ConstructionPage::Describe() {
    PageDescription page = HiddenPage(kCount);
    page.controls[kNotice] = Shown(Placement::Centred(kConstructionTop), texts::Construction());
    return page;
}

}  // namespace ui
