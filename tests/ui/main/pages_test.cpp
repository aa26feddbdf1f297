// The main window's pages as data: what the device area, the install page and the construction
// notice show in each page state, with their captions, places and backdrop pictures, and how a
// placement turns into a place.
#include "ui/main/pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adb/command_set.h"
#include "skin_art.h"

namespace {

using ui::ControlLook;
using ui::DeviceArea;
using ui::InstallPage;
using ui::LayerLook;
using ui::PageDescription;
using ui::Placement;

constexpr base::BoxAddress kBox = 0x1401A8C0;  // 192.168.1.20

class NoActions : public ui::ISessionActions {
    void StartScan() override {}
    void SetSearchTimer(bool) override {}
    void Connect(base::BoxAddress) override {}
    void QueryModel(base::BoxAddress) override {}
    void Install(base::BoxAddress, const ui::InstallItems&, bool) override {}
    void CancelInstalls() override {}
    void UpdatePickerRow(base::BoxAddress, const std::wstring&) override {}
    void ShowPages() override {}
};

// The indexes of the controls a description shows.
std::vector<size_t> Shown(const PageDescription& page) {
    std::vector<size_t> shown;
    for (size_t i = 0; i < page.controls.size(); ++i)
        if (page.controls[i].shown) shown.push_back(i);
    return shown;
}

class Pages : public ::testing::Test {
protected:
    void Searching() { session_.SearchAgain(); }
    void Identifying() {
        Searching();
        session_.OnScanResult(kBox);
    }
    void Ready(const std::wstring& name = L"小米盒子") {
        Identifying();
        session_.OnConnectResult(kBox, adb::Connected);
        session_.OnModelResult(kBox, name);
    }
    // A batch of `total` APKs of which `failed` failed.
    void Done(int total, int failed) {
        Ready();
        std::vector<std::wstring> names;
        for (int i = 0; i < total; ++i) names.push_back(L"app" + std::to_wstring(i) + L".apk");
        session_.OnDrop(names);
        for (int id = 1; id <= total; ++id) {
            session_.OnInstallResult(id, adb::Started);
            session_.OnInstallResult(id, id <= failed ? adb::Failed : adb::Success);
        }
        ASSERT_EQ(session_.State(), ui::Done);
    }
    const ControlLook& Install(size_t control) {
        page_ = InstallPage::Describe(session_);
        return page_.controls[control];
    }

    NoActions actions_;
    ui::Session session_{actions_};
    PageDescription page_;
};

TEST_F(Pages, EveryPageDescribesEachOfItsControls) {
    Searching();
    EXPECT_EQ(DeviceArea::Describe(session_).controls.size(), DeviceArea::Controls().size());
    EXPECT_EQ(InstallPage::Describe(session_).controls.size(), InstallPage::Controls().size());
    EXPECT_EQ(ui::ConstructionPage::Describe().controls.size(), ui::ConstructionPage::Controls().size());
    EXPECT_EQ(InstallPage::Controls()[InstallPage::kReadyPicture].picture, skin::art::kReady);
    EXPECT_EQ(DeviceArea::Controls()[DeviceArea::kDevicePanel].command, 301);
}

TEST_F(Pages, TheDeviceAreaTellsTheSearchThenShowsThePanel) {
    Searching();
    PageDescription area = DeviceArea::Describe(session_);
    EXPECT_EQ(Shown(area), (std::vector<size_t>{DeviceArea::kStatusTitle, DeviceArea::kSearchAnimation}));
    EXPECT_EQ(area.controls[DeviceArea::kStatusTitle].markup, L"{&#font=8}{&#color=0xffffff}正在寻找盒子{&#/color}{&#/font}");
    EXPECT_EQ(area.controls[DeviceArea::kStatusTitle].place, Placement::At(60, 48));
    EXPECT_EQ(area.controls[DeviceArea::kSearchAnimation].place, Placement::At(15, 46));

    Identifying();
    area = DeviceArea::Describe(session_);
    EXPECT_EQ(Shown(area), (std::vector<size_t>{DeviceArea::kStatusTitle, DeviceArea::kStatusAddress,
                                                DeviceArea::kSearchAnimation}));
    EXPECT_EQ(area.controls[DeviceArea::kStatusTitle].place, Placement::At(60, 40));
    EXPECT_EQ(area.controls[DeviceArea::kStatusAddress].markup, L"{&#font=3}{&#color=0xffffff}192.168.1.20{&#/color}{&#/font}");
    EXPECT_EQ(area.controls[DeviceArea::kStatusAddress].place, Placement::At(60, 65));

    session_.OnSearchTimeout();  // the host connected to nothing
    area = DeviceArea::Describe(session_);
    EXPECT_EQ(Shown(area), (std::vector<size_t>{DeviceArea::kStatusTitle, DeviceArea::kNoBoxPicture}));
    EXPECT_EQ(area.controls[DeviceArea::kStatusTitle].markup, L"{&#font=8}{&#color=0xffffff}没有找到盒子{&#/color}{&#/font}");

    Ready();
    session_.OnConnectResult(kBox + 1, adb::Connected);  // a second box: the badge
    area = DeviceArea::Describe(session_);
    EXPECT_EQ(Shown(area), (std::vector<size_t>{DeviceArea::kDevicePanel}));
    EXPECT_EQ(area.controls[DeviceArea::kDevicePanel].panel, (ui::PanelLook{L"小米盒子", L"192.168.1.20", 1}));
    EXPECT_EQ(area.controls[DeviceArea::kDevicePanel].place, Placement::At(0, 25));
}

TEST_F(Pages, WithoutABoxTheInstallPageWaitsOnThePanelsPicture) {
    Searching();
    page_ = InstallPage::Describe(session_);
    EXPECT_EQ(Shown(page_), (std::vector<size_t>{InstallPage::kWaitPicture, InstallPage::kDropHint}));
    EXPECT_EQ(page_.controls[InstallPage::kWaitPicture].place, Placement::Centred(240));
    EXPECT_EQ(page_.controls[InstallPage::kDropHint].markup, L"{&#font=10}{&#color=0xb0b0b0}拖拽APK文件到此区域可安装到智能电视盒");
    EXPECT_EQ(page_.controls[InstallPage::kDropHint].place, Placement::Centred(360));
    EXPECT_EQ(page_.layers, (std::vector<LayerLook>{{skin::art::kPanel, 0, Placement::At(0, 25)},
                                                    {skin::art::kDropZone, 0, Placement::Centred(200)}}));

    session_.OnSearchTimeout();
    page_ = InstallPage::Describe(session_);
    EXPECT_EQ(Shown(page_), (std::vector<size_t>{InstallPage::kWaitPicture, InstallPage::kResultLine3, InstallPage::kDropHint}));
    EXPECT_EQ(page_.controls[InstallPage::kResultLine3].markup, L"{&#font=5}{&#a=button:307}重新扫描联网的智能电视盒{&#/a}");
    EXPECT_EQ(page_.controls[InstallPage::kResultLine3].place, Placement::Centred(160));
}

TEST_F(Pages, WithABoxTheInstallPageInvitesDropsThenNamesEachApk) {
    Ready();
    page_ = InstallPage::Describe(session_);
    EXPECT_EQ(Shown(page_), (std::vector<size_t>{InstallPage::kReadyPicture, InstallPage::kDropHint}));
    EXPECT_EQ(page_.controls[InstallPage::kDropHint].markup, L"{&#font=10}{&#color=0x808080}拖拽APK文件到此区域可安装到小米盒子");
    EXPECT_EQ(page_.layers, (std::vector<LayerLook>{{skin::art::kDropZone, 0, Placement::Centred(200)}}));

    session_.OnDrop({L"D:\\下载\\视频 播放器.apk"});
    session_.OnInstallResult(1, adb::Started);
    EXPECT_EQ(Install(InstallPage::kInstallText).markup, L"{&#font=10}{&#color=0x808080}正在安装视频 播放器.apk，请稍候...");
    EXPECT_EQ(Shown(page_), (std::vector<size_t>{InstallPage::kInstallAnimation, InstallPage::kInstallText,
                                                 InstallPage::kProgressText, InstallPage::kActionLink}));
    // Pictures keep the centre of the page whether they show or not.
    for (size_t picture : {InstallPage::kWaitPicture, InstallPage::kReadyPicture, InstallPage::kDonePicture})
        EXPECT_EQ(page_.controls[picture].place, Placement::Centred(240));
}

TEST_F(Pages, AllInstalledInvitesToGoOn) {
    Done(2, 0);
    page_ = InstallPage::Describe(session_);
    EXPECT_EQ(Shown(page_), (std::vector<size_t>{InstallPage::kDonePicture, InstallPage::kResultLine1, InstallPage::kResultLine2}));
    EXPECT_EQ(page_.controls[InstallPage::kResultLine1].markup, L"{&#font=10}{&#color=0x808080}恭喜，全部安装完成！");
    EXPECT_EQ(page_.controls[InstallPage::kResultLine1].place, Placement::Centred(340));
    EXPECT_EQ(page_.controls[InstallPage::kResultLine2].markup, L"{&#font=5}{&#a=button:305}继续安装{&#/a}");
    EXPECT_EQ(page_.controls[InstallPage::kResultLine2].place, Placement::Centred(390));
}

TEST_F(Pages, SomeFailedCountsBothAndAlignsTheLinesWithTheFirst) {
    Done(3, 1);
    page_ = InstallPage::Describe(session_);
    EXPECT_EQ(Shown(page_), (std::vector<size_t>{InstallPage::kDonePicture, InstallPage::kResultLine1,
                                                 InstallPage::kResultLine2, InstallPage::kResultLine3,
                                                 InstallPage::kActionLink}));
    EXPECT_EQ(page_.controls[InstallPage::kResultLine1].place, Placement::Centred(320));
    EXPECT_EQ(page_.controls[InstallPage::kResultLine2].place, Placement::AlignedWith(InstallPage::kResultLine1, 360));
    EXPECT_EQ(page_.controls[InstallPage::kResultLine3].place, Placement::AlignedWith(InstallPage::kResultLine1, 390));
    // The success count is the batch less its failures.
    EXPECT_NE(page_.controls[InstallPage::kResultLine2].markup->find(L"{&#color=0x009000}2{&#/color}"), std::wstring::npos);
    EXPECT_NE(page_.controls[InstallPage::kResultLine3].markup->find(L"{&#color=0x0000ff}1{&#/color}"), std::wstring::npos);
}

TEST_F(Pages, NothingInstalledOffersToInstallAgainOrGoOn) {
    Done(2, 2);
    page_ = InstallPage::Describe(session_);
    EXPECT_EQ(Shown(page_), (std::vector<size_t>{InstallPage::kResultLine1, InstallPage::kResultLine2,
                                                 InstallPage::kResultLine3, InstallPage::kActionLink}));
    EXPECT_EQ(page_.controls[InstallPage::kResultLine1].place, Placement::Centred(300));
    EXPECT_EQ(page_.controls[InstallPage::kResultLine3].markup, L"{&#font=5}{&#a=button:306}重新安装{&#/a}");
    EXPECT_EQ(page_.controls[InstallPage::kResultLine3].place, Placement::Centred(360));
    EXPECT_EQ(page_.controls[InstallPage::kResultLine2].markup, L"{&#font=5}{&#a=button:305}继续安装其他应用{&#/a}");
    EXPECT_EQ(page_.controls[InstallPage::kResultLine2].place, Placement::Centred(390));
}

TEST_F(Pages, FailuresTellTheirReasonsInATipAndUnderTheLink) {
    Done(3, 2);
    page_ = InstallPage::Describe(session_);
    EXPECT_EQ(page_.controls[InstallPage::kResultLine3].tip, L"app0.apk：安装程序没有说明原因\r\napp1.apk：安装程序没有说明原因");
    EXPECT_EQ(page_.controls[InstallPage::kActionLink].markup, L"{&#font=5}{&#a=button:308}查看原因{&#/a}");
    EXPECT_FALSE(page_.controls[InstallPage::kReasonLine0].shown);
    session_.ToggleReasons();
    page_ = InstallPage::Describe(session_);
    EXPECT_EQ(page_.controls[InstallPage::kActionLink].markup, L"{&#font=5}{&#a=button:308}收起原因{&#/a}");
    EXPECT_EQ(page_.controls[InstallPage::kReasonLine0].markup,
              L"{&#font=3}{&#color=0x808080}app0.apk：{&#color=0x0000ff}安装程序没有说明原因{&#/color}");
    EXPECT_TRUE(page_.controls[InstallPage::kReasonLine0 + 1].shown);
    EXPECT_FALSE(page_.controls[InstallPage::kReasonLine0 + 2].shown);
    // A batch without failures has neither tip nor link.
    session_.OnDrop({L"c.apk"});
    session_.OnInstallResult(4, adb::Started);
    session_.OnInstallResult(4, adb::Success);
    page_ = InstallPage::Describe(session_);
    EXPECT_EQ(page_.controls[InstallPage::kResultLine3].tip, L"");
    EXPECT_FALSE(page_.controls[InstallPage::kActionLink].shown);
}

TEST_F(Pages, WhileInstallingTheBatchsProgressAndTheCancelLinkShow) {
    Ready();
    session_.OnDrop({L"a.apk", L"b.apk"});
    session_.OnInstallResult(1, adb::Started);
    EXPECT_EQ(Install(InstallPage::kProgressText).markup, L"{&#font=5}{&#color=0x808080}第 1 个，共 2 个");
    session_.OnInstallResult(1, adb::Progress, adb::FailureReason::None, {}, 45);
    EXPECT_EQ(Install(InstallPage::kProgressText).markup, L"{&#font=5}{&#color=0x808080}第 1 个，共 2 个 · 45%");
    EXPECT_EQ(Install(InstallPage::kActionLink).markup, L"{&#font=5}{&#a=button:309}取消安装{&#/a}");
    session_.CancelInstall();
    EXPECT_EQ(Install(InstallPage::kActionLink).markup, L"{&#font=5}{&#color=0x808080}正在取消...");
}

TEST(BatchOutcome, TheCountsDecide) {
    using ui::BatchOutcome;
    EXPECT_EQ(ui::ClassifyBatch(2, 0), BatchOutcome::AllInstalled);
    EXPECT_EQ(ui::ClassifyBatch(3, 1), BatchOutcome::SomeFailed);
    EXPECT_EQ(ui::ClassifyBatch(2, 2), BatchOutcome::NothingInstalled);
    EXPECT_EQ(ui::ClassifyBatch(0, 0), BatchOutcome::NothingInstalled);  // a batch that lost its APKs
    EXPECT_EQ(ui::ClassifyBatch(1, 3), BatchOutcome::NothingInstalled);  // results of two batches
}

TEST(OtherTabs, ShowTheNoticeAndLeaveTheInstallPageAlone) {
    const PageDescription notice = ui::ConstructionPage::Describe();
    ASSERT_TRUE(notice.controls[ui::ConstructionPage::kNotice].shown);
    EXPECT_EQ(notice.controls[ui::ConstructionPage::kNotice].markup, L"{&#font=10}{&#color=0x808080}功能建设中，请持续关注......");
    EXPECT_EQ(notice.controls[ui::ConstructionPage::kNotice].place, Placement::Centred(320));
    const PageDescription hidden = ui::HiddenPage(InstallPage::kCount);
    EXPECT_TRUE(Shown(hidden).empty());
    EXPECT_TRUE(hidden.layers.empty());
    for (const ControlLook& look : hidden.controls) {
        EXPECT_EQ(look.place.rule, Placement::Rule::Keep);
        EXPECT_FALSE(look.markup);
    }
}

TEST(Placing, EachRuleGivesItsPlace) {
    const std::vector<int32_t> lefts{331, 0};
    EXPECT_EQ(ui::Place(Placement::At(15, 44), 33, 900, lefts), (ui::TopLeft{15, 44}));
    EXPECT_EQ(ui::Place(Placement::Centred(240), 111, 900, lefts), (ui::TopLeft{394, 240}));  // 789 / 2, truncated
    EXPECT_EQ(ui::Place(Placement::Centred(200), 598, 900, lefts), (ui::TopLeft{151, 200}));
    EXPECT_EQ(ui::Place(Placement::AlignedWith(0, 360), 80, 900, lefts), (ui::TopLeft{331, 360}));
    EXPECT_FALSE(ui::Place(Placement{}, 80, 900, lefts));
}

}  // namespace
