#include "ui/main/apps_model.h"

#include <gtest/gtest.h>

namespace {

using ui::AppAction;
using ui::AppOutcome;
using ui::AppsModel;
using ui::AppsState;

constexpr base::BoxAddress kBox = 0x0100007f, kOtherBox = 0x0200007f;

adb::InstalledApp App(const wchar_t* package, const wchar_t* label, bool system = false) {
    adb::InstalledApp app;
    app.package = package;
    app.label = label;
    app.system = system;
    return app;
}

std::vector<std::wstring> Names(const AppsModel& model) {
    std::vector<std::wstring> names;
    for (const adb::InstalledApp* app : model.Visible()) names.push_back(ui::DisplayName(*app));
    return names;
}

AppsModel Listed() {
    AppsModel model;
    model.StartLoading(kBox);
    model.OnListed(kBox, {App(L"com.z.tv", L"电视直播"), App(L"com.b", L"banana"), App(L"com.a.Apple", L""),
                          App(L"com.android.settings", L"设置", true), App(L"com.c", L"Cherry")});
    return model;
}

TEST(AppsModel, ShowsUserAppsByNameThenFiltersAndTogglesSystemApps) {
    AppsModel model;
    EXPECT_EQ(model.State(), AppsState::NotLoaded);
    model.StartLoading(kBox);
    EXPECT_EQ(model.State(), AppsState::Loading);
    EXPECT_TRUE(model.Visible().empty());
    model = Listed();
    EXPECT_EQ(model.State(), AppsState::Listed);
    EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"banana", L"Cherry", L"com.a.Apple", L"电视直播"}));
    model.SetFilter(L"APPLE");
    EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"com.a.Apple"}));
    model.SetFilter(L"直播");
    EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"电视直播"}));
    model.SetFilter(L"com.android");
    EXPECT_TRUE(Names(model).empty());
    model.SetShowSystem(true);
    EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"设置"}));
    model.SetFilter(L"");
    EXPECT_EQ(model.Visible().size(), 5u);
}

TEST(AppsModel, AListingOfAnotherBoxOrAfterTheBoxWentIsNotTaken) {
    AppsModel model = Listed();
    model.StartLoading(kOtherBox);
    model.OnListed(kBox, {App(L"com.late", L"late")});
    EXPECT_EQ(model.State(), AppsState::Loading);
    model.OnListingFailed(kBox);
    EXPECT_EQ(model.State(), AppsState::Loading);
    model.OnListingFailed(kOtherBox);
    EXPECT_EQ(model.State(), AppsState::BoxGone);
    EXPECT_TRUE(model.Visible().empty());
    AppsModel fresh;
    fresh.OnListed(base::kNoBox, {App(L"com.x", L"x")});
    EXPECT_EQ(fresh.State(), AppsState::NotLoaded);
}

TEST(AppsModel, SelectionFollowsWhatIsShownAndWhatIsThere) {
    AppsModel model = Listed();
    model.SetSelected(L"com.c", true);
    model.SetSelected(L"com.b", true);
    model.SetSelected(L"com.not.there", true);
    EXPECT_EQ(model.SelectedVisible(), (std::vector<std::wstring>{L"com.b", L"com.c"}));
    model.SetFilter(L"cherry");
    EXPECT_EQ(model.SelectedVisible(), (std::vector<std::wstring>{L"com.c"})) << "hidden rows are not acted on";
    model.SetFilter(L"");
    // A fresh listing without com.b drops it from the selection.
    model.OnListed(kBox, {App(L"com.c", L"Cherry")});
    EXPECT_EQ(model.SelectedVisible(), (std::vector<std::wstring>{L"com.c"}));
    model.SetSelected(L"com.c", false);
    EXPECT_TRUE(model.SelectedVisible().empty());
}

TEST(AppsModel, ActionsCountTheirOutcomesAndAnUninstalledAppLeaves) {
    AppsModel model = Listed();
    model.SetSelected(L"com.b", true);
    const auto cookies = model.BeginActions(AppAction::Uninstall, {L"com.b", L"com.c", L"com.gone"});
    ASSERT_EQ(cookies.size(), 2u);
    EXPECT_TRUE(model.Busy());
    EXPECT_EQ(model.Outcome(L"com.b")->kind, AppOutcome::Kind::Working);
    model.OnActionResult(cookies[1], false, L"盒子的管理策略不允许卸载此应用");
    model.OnActionResult(cookies[1], true, L"");  // a second answer for the same cookie
    model.OnActionResult(999, true, L"");
    EXPECT_EQ(model.Progress().failed, 1u);
    EXPECT_EQ(model.Progress().done, 0u);
    model.OnActionResult(cookies[0], true, L"");
    EXPECT_FALSE(model.Busy());
    EXPECT_EQ(model.Find(L"com.b"), nullptr);
    EXPECT_FALSE(model.IsSelected(L"com.b"));
    EXPECT_EQ(model.Outcome(L"com.c")->detail, L"盒子的管理策略不允许卸载此应用");
    EXPECT_NE(model.Find(L"com.c"), nullptr);

    const auto exports = model.BeginActions(AppAction::Export, {L"com.c"});
    EXPECT_EQ(model.Progress().total, 1u) << "a new click counts afresh";
    model.OnActionResult(exports[0], true, L"D:\\apps\\Cherry_1.0.apk");
    EXPECT_EQ(model.Outcome(L"com.c")->kind, AppOutcome::Kind::Done);
    EXPECT_NE(model.Find(L"com.c"), nullptr) << "an export keeps the app";
}

TEST(AppsTexts, SizesAndDays) {
    EXPECT_EQ(ui::SizeText(0), L"");
    EXPECT_EQ(ui::SizeText(1000), L"1000 B");
    EXPECT_EQ(ui::SizeText(1024 * 845 + 100), L"845 KB");
    EXPECT_EQ(ui::SizeText(12'900'000), L"12.3 MB");
    EXPECT_EQ(ui::SizeText(3ull << 30), L"3.0 GB");
    EXPECT_EQ(ui::DayText(L"2020-03-04 10:11:12"), L"2020-03-04");
    EXPECT_EQ(ui::DayText(L"2020-3-4"), L"");
    EXPECT_EQ(ui::DayText(L"abcd-ef-gh"), L"");
}

}  // namespace
