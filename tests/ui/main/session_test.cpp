// The session of the main window as the workers and the user move it: searches and their end,
// boxes answering, connecting and getting their names, the picker's choice, drops and install
// results, with what the session asks of the engine, discovery, the timer and the picker.
#include "ui/main/session.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "adb/command_set.h"

namespace {

using ui::PageState;
using ui::Session;

constexpr base::BoxAddress kFirst = 0x1401A8C0, kSecond = 0x1501A8C0;  // 192.168.1.20 and .21

// Writes down what the session asks for, one line each.
class Actions : public ui::ISessionActions {
public:
    std::vector<std::string> log;
    std::vector<std::pair<std::wstring, int32_t>> lastBatch;
    std::wstring lastPickerName;

    // What was asked since the last call.
    std::vector<std::string> Take() { return std::exchange(log, {}); }

    void StartScan() override { log.push_back("scan"); }
    void SetSearchTimer(bool running) override { log.push_back(running ? "timer on" : "timer off"); }
    void Connect(base::BoxAddress box) override { log.push_back("connect " + Text(box)); }
    void QueryModel(base::BoxAddress box) override { log.push_back("query " + Text(box)); }
    void Install(base::BoxAddress box, const ui::InstallItems& batch, bool joining) override {
        log.push_back((joining ? "join " : "install ") + Text(box) + " x" + std::to_string(batch.size()));
        lastBatch = batch;
    }
    void CancelInstalls() override { log.push_back("cancel"); }
    void UpdatePickerRow(base::BoxAddress box, const std::wstring& name) override {
        log.push_back("picker row " + Text(box));
        lastPickerName = name;
    }
    void ShowPages() override { log.push_back("show"); }

private:
    static std::string Text(base::BoxAddress box) {
        const std::wstring text = base::BoxText(box);
        return std::string(text.begin(), text.end());
    }
};

using Log = std::vector<std::string>;

class SessionTest : public ::testing::Test {
protected:
    // The window's first search, and the first box connected and named.
    void ReadyWithFirstBox() {
        session_.SearchAgain();
        session_.OnScanResult(kFirst);
        session_.OnConnectResult(kFirst, adb::Connected);
        session_.OnModelResult(kFirst, L"小米盒子");
        actions_.Take();
    }

    Actions actions_;
    Session session_{actions_};
};

TEST_F(SessionTest, ASearchScansShowsTheSearchingPageAndStartsTheTimeOut) {
    session_.SearchAgain();
    EXPECT_EQ(actions_.Take(), (Log{"scan", "show", "timer on"}));
    EXPECT_EQ(session_.State(), ui::Searching);
    EXPECT_FALSE(session_.AcceptsDrops());
}

TEST_F(SessionTest, AHostThatAnswersIsAskedToConnectAndNamedWhileSearching) {
    session_.SearchAgain();
    actions_.Take();
    session_.OnScanResult(0);  // the end of the scan tells nothing
    EXPECT_TRUE(actions_.Take().empty());
    session_.OnScanResult(kFirst);
    EXPECT_EQ(actions_.Take(), (Log{"connect 192.168.1.20", "show"}));
    EXPECT_EQ(session_.State(), ui::Identifying);
    EXPECT_EQ(session_.AnsweringBox(), kFirst);
    // A second host is connected too, but the page keeps naming the first.
    session_.OnScanResult(kSecond);
    EXPECT_EQ(actions_.Take(), (Log{"connect 192.168.1.21"}));
    EXPECT_EQ(session_.AnsweringBox(), kFirst);
}

TEST_F(SessionTest, ConnectedBoxesAreQueriedTheFirstIsCurrentAndTheSecondRaisesTheBadge) {
    session_.SearchAgain();
    session_.OnConnectResult(kSecond, adb::NotConnected);  // no debug bridge there
    actions_.Take();
    EXPECT_FALSE(session_.Boxes().HasCurrent());
    session_.OnConnectResult(kFirst, adb::Connected);
    EXPECT_EQ(actions_.Take(), (Log{"query 192.168.1.20"}));
    EXPECT_EQ(session_.Boxes().Current(), kFirst);
    EXPECT_EQ(session_.Badge(), 0);
    session_.OnConnectResult(kSecond, adb::Connected);
    EXPECT_EQ(actions_.Take(), (Log{"query 192.168.1.21", "show"}));
    EXPECT_EQ(session_.Boxes().Current(), kFirst);
    EXPECT_EQ(session_.Badge(), 1);
    // A new search forgets the boxes and the badge.
    session_.SearchAgain();
    EXPECT_EQ(session_.Badge(), 0);
    EXPECT_FALSE(session_.Boxes().HasCurrent());
}

TEST_F(SessionTest, TheCurrentBoxsNameEndsTheSearchAnotherBoxsNameGoesToThePicker) {
    session_.SearchAgain();
    session_.OnConnectResult(kFirst, adb::Connected);
    session_.OnConnectResult(kSecond, adb::Connected);
    actions_.Take();
    session_.OnModelResult(kSecond, L"乐视盒子");
    EXPECT_EQ(actions_.Take(), (Log{"picker row 192.168.1.21"}));
    EXPECT_EQ(actions_.lastPickerName, L"乐视盒子");
    EXPECT_EQ(session_.State(), ui::Searching);
    session_.OnModelResult(kFirst, L"");  // the query told nothing
    EXPECT_TRUE(actions_.Take().empty());
    session_.OnModelResult(kFirst, L"小米盒子");
    EXPECT_EQ(actions_.Take(), (Log{"timer off", "show"}));
    EXPECT_EQ(session_.State(), ui::Ready);
    EXPECT_TRUE(session_.AcceptsDrops());
}

TEST_F(SessionTest, TheTimeOutEndsTheSearchWithOrWithoutABox) {
    session_.SearchAgain();
    session_.OnScanResult(kFirst);
    actions_.Take();
    session_.OnSearchTimeout();
    EXPECT_EQ(actions_.Take(), (Log{"timer off", "show"}));
    EXPECT_EQ(session_.State(), ui::NoBox);

    session_.SearchAgain();
    session_.OnConnectResult(kFirst, adb::Connected);
    session_.OnSearchTimeout();
    EXPECT_EQ(session_.State(), ui::Ready);
    EXPECT_EQ(session_.Boxes().DisplayName(session_.Boxes().Current()), L"智能电视盒");
}

TEST_F(SessionTest, ABoxPickedWhileABatchRunsIsTheTargetOfTheNextBatchAndThePageStays) {
    ReadyWithFirstBox();
    session_.OnBoxSelected(0);
    EXPECT_TRUE(actions_.Take().empty());
    session_.OnDrop({L"a.apk"});
    session_.OnInstallResult(1, adb::Started);
    ASSERT_EQ(session_.State(), ui::Installing);
    actions_.Take();
    session_.OnBoxSelected(kSecond);
    EXPECT_EQ(session_.Boxes().Current(), kSecond);  // the panel shows the box picked
    EXPECT_EQ(session_.State(), ui::Installing);     // the running batch's page stays
    EXPECT_EQ(actions_.Take(), (Log{"show"}));
    // The first box's batch takes nothing for another box.
    session_.OnDrop({L"b.apk"});
    EXPECT_TRUE(actions_.Take().empty());
    session_.OnInstallResult(1, adb::Failed, adb::FailureReason::StorageFull);
    ASSERT_EQ(session_.State(), ui::Done);
    EXPECT_EQ(session_.Queue().Finished().total, 1u);
    // The next drop goes to the box chosen.
    session_.OnDrop({L"b.apk"});
    EXPECT_EQ(actions_.Take(), (Log{"show", "install 192.168.1.21 x1"}));
}

TEST_F(SessionTest, ADropBeforeTheFirstStartJoinsThePendingBatchAndEveryApkIsCountedOnce) {
    ReadyWithFirstBox();
    session_.OnDrop({L"a.apk"});
    session_.OnDrop({L"b.apk"});  // the box is slow to connect: no Started yet
    EXPECT_EQ(actions_.Take(), (Log{"install 192.168.1.20 x1", "join 192.168.1.20 x1"}));
    session_.OnInstallResult(1, adb::Started);
    session_.OnInstallResult(1, adb::Success);
    // b has no result yet: no outcome is shown.
    EXPECT_EQ(session_.State(), ui::Installing);
    EXPECT_EQ(session_.Queue().InstallingPosition(), 1u);
    EXPECT_EQ(session_.Queue().BatchSize(), 2u);
    session_.OnInstallResult(2, adb::Started);
    session_.OnInstallResult(2, adb::Failed, adb::FailureReason::StorageFull);
    ASSERT_EQ(session_.State(), ui::Done);
    EXPECT_EQ(session_.Queue().Finished().total, 2u);
    ASSERT_EQ(session_.Queue().Finished().failed.size(), 1u);
    EXPECT_EQ(session_.Queue().Finished().failed[0].reason, L"盒子的存储空间不足");
    // A stray second result of a counted APK changes nothing.
    session_.OnInstallResult(1, adb::Failed);
    EXPECT_EQ(session_.Queue().Finished().failed.size(), 1u);
    actions_.Take();
    session_.InstallAgain();
    EXPECT_EQ(actions_.Take(), (Log{"install 192.168.1.20 x1"}));
    EXPECT_EQ(actions_.lastBatch, (ui::InstallItems{{L"b.apk", 2}}));
}

TEST_F(SessionTest, CancelEndsTheBatchOnceAndSearchWaitsForTheBatch) {
    ReadyWithFirstBox();
    session_.OnDrop({L"a.apk", L"b.apk"});
    session_.SearchAgain();  // not while a batch runs
    EXPECT_EQ(actions_.Take(), (Log{"install 192.168.1.20 x2"}));
    session_.OnInstallResult(1, adb::Started);
    session_.OnInstallResult(1, adb::Progress, adb::FailureReason::None, {}, 45);
    EXPECT_EQ(session_.Queue().Percent(), 45);
    actions_.Take();
    session_.CancelInstall();
    session_.CancelInstall();
    EXPECT_EQ(actions_.Take(), (Log{"cancel", "show"}));
    EXPECT_TRUE(session_.Cancelling());
    session_.OnInstallResult(1, adb::Failed, adb::FailureReason::Cancelled);
    session_.OnInstallResult(2, adb::Failed, adb::FailureReason::Cancelled);
    ASSERT_EQ(session_.State(), ui::Done);
    EXPECT_FALSE(session_.Cancelling());
    EXPECT_EQ(session_.Queue().Finished().failed.size(), 2u);
    EXPECT_EQ(session_.Queue().Finished().failed[1].reason, L"已取消");
    actions_.Take();
    session_.SearchAgain();
    EXPECT_EQ(actions_.Take(), (Log{"scan", "show", "timer on"}));
}

TEST_F(SessionTest, DropsStartABatchOnlyWhenTheCurrentBoxIsReady) {
    session_.SearchAgain();
    for (PageState expected : {ui::Searching, ui::Identifying, ui::NoBox}) {
        if (expected == ui::Identifying) session_.OnScanResult(kFirst);
        if (expected == ui::NoBox) session_.OnSearchTimeout();
        ASSERT_EQ(session_.State(), expected);
        actions_.Take();
        session_.OnDrop({L"a.apk"});
        EXPECT_TRUE(actions_.Take().empty()) << expected;
    }
    session_.SearchAgain();
    session_.OnConnectResult(kFirst, adb::Connected);
    session_.OnModelResult(kFirst, L"小米盒子");
    actions_.Take();
    session_.OnDrop({L"notes.txt"});  // no APK: no batch
    EXPECT_TRUE(actions_.Take().empty());
    session_.OnDrop({L"C:\\a.apk", L"notes.txt", L"C:\\B.APK"});
    EXPECT_EQ(actions_.Take(), (Log{"install 192.168.1.20 x2"}));
    EXPECT_EQ(actions_.lastBatch, (std::vector<std::pair<std::wstring, int32_t>>{{L"C:\\a.apk", 1}, {L"C:\\B.APK", 2}}));
}

TEST_F(SessionTest, InstallResultsShowEachApkThenTheOutcome) {
    ReadyWithFirstBox();
    session_.OnDrop({L"a.apk", L"b.apk"});
    actions_.Take();
    session_.OnInstallResult(1, adb::Started);
    EXPECT_EQ(session_.State(), ui::Installing);
    EXPECT_FALSE(session_.AcceptsDrops());
    session_.OnInstallResult(1, adb::Success);
    session_.OnInstallResult(2, adb::Started);
    EXPECT_EQ(session_.Queue().InstallingId(), 2);
    session_.OnInstallResult(2, adb::Failed);
    EXPECT_EQ(session_.State(), ui::Done);
    EXPECT_TRUE(session_.AcceptsDrops());
    actions_.Take();

    // Install again takes the failed APK alone.
    session_.InstallAgain();
    EXPECT_EQ(actions_.Take(), (Log{"install 192.168.1.20 x1"}));
    EXPECT_EQ(actions_.lastBatch, (std::vector<std::pair<std::wstring, int32_t>>{{L"b.apk", 2}}));
    session_.OnInstallResult(2, adb::Started);
    session_.OnInstallResult(2, adb::AlreadyExists);  // already there counts as installed
    EXPECT_EQ(session_.State(), ui::Done);
    EXPECT_TRUE(session_.Queue().Finished().failed.empty());
    session_.Continue();
    EXPECT_EQ(session_.State(), ui::Ready);
    // Nothing failed: install again has nothing to do.
    actions_.Take();
    session_.InstallAgain();
    EXPECT_TRUE(actions_.Take().empty());
}

}  // namespace
