#include "ui/main/install_queue.h"

#include <gtest/gtest.h>

#include "adb/command_set.h"

namespace {

using ui::FailedApk;
using ui::InstallItems;
using ui::InstallQueue;

TEST(InstallQueue, OnlyApkFilesGetIdsInDropOrder) {
    InstallQueue queue;
    EXPECT_EQ(queue.StartBatch({L"C:\\a.apk", L"C:\\notes.txt", L"D:\\x\\B.APK", L"C:\\noext", L"C:\\dir.apk\\readme",
                                L"", L"C:\\f.apk.bak"}),
              (InstallItems{{L"C:\\a.apk", 1}, {L"D:\\x\\B.APK", 2}}));
    // A batch still running takes no second batch; the drop joins it instead and goes on counting.
    EXPECT_TRUE(queue.StartBatch({L"Z:\\tmp\\c.Apk"}).empty());
    EXPECT_EQ(queue.JoinBatch({L"Z:\\tmp\\c.Apk", L"Z:\\tmp\\d.apk"}),
              (InstallItems{{L"Z:\\tmp\\c.Apk", 3}, {L"Z:\\tmp\\d.apk", 4}}));
    EXPECT_EQ(queue.BatchSize(), 4u);
}

TEST(InstallQueue, ADropWithoutApksStartsNothingAndKeepsTheLastOutcome) {
    InstallQueue queue;
    queue.StartBatch({L"a.apk"});
    ASSERT_TRUE(queue.OnResult(1, adb::Failed, L"盒子的存储空间不足"));
    EXPECT_TRUE(queue.StartBatch({L"a.txt"}).empty());
    EXPECT_FALSE(queue.Running());
    EXPECT_EQ(queue.StartFailedAgain(), (InstallItems{{L"a.apk", 1}}));
}

TEST(InstallQueue, OnlyTheFirstHundredNamesAreLookedAt) {
    std::vector<std::wstring> names(150, L"x.apk");
    InstallQueue queue;
    EXPECT_EQ(queue.StartBatch(names).size(), 100u);
}

TEST(InstallQueue, EachApkIsCountedOnceAndOnlyInItsOwnBatch) {
    InstallQueue queue;
    queue.StartBatch({L"a.apk", L"b.apk", L"c.apk"});
    EXPECT_FALSE(queue.OnStarted(7));  // no APK of this batch
    ASSERT_TRUE(queue.OnStarted(1));
    EXPECT_EQ(queue.InstallingPosition(), 1u);
    EXPECT_FALSE(queue.OnResult(1, adb::Started, L""));  // not a result
    EXPECT_TRUE(queue.OnResult(1, adb::Success, L""));
    EXPECT_FALSE(queue.OnResult(1, adb::Failed, L"x"));  // a second result of the same APK
    EXPECT_FALSE(queue.OnResult(9, adb::Failed, L"x"));  // an APK of no batch
    EXPECT_TRUE(queue.OnResult(2, adb::AlreadyExists, L""));
    EXPECT_TRUE(queue.Running());
    EXPECT_TRUE(queue.OnResult(3, adb::InvalidUri, L"盒子没有收到完整的安装包"));
    EXPECT_FALSE(queue.Running());
    EXPECT_EQ(queue.Finished().total, 3u);
    EXPECT_EQ(queue.Finished().failed, (std::vector<FailedApk>{{3, L"c.apk", L"盒子没有收到完整的安装包"}}));
    // A late result of the finished batch changes nothing.
    EXPECT_FALSE(queue.OnResult(2, adb::Failed, L"x"));
    EXPECT_EQ(queue.Finished().failed.size(), 1u);
}

TEST(InstallQueue, InstallAgainTakesOnlyTheFailedOnesInFailureOrder) {
    InstallQueue queue;
    queue.StartBatch({L"a.apk", L"b.apk", L"c.apk"});
    queue.OnResult(3, adb::Failed, L"r3");
    queue.OnResult(1, adb::Success, L"");
    queue.OnResult(2, adb::Failed, L"r2");
    EXPECT_EQ(queue.StartFailedAgain(), (InstallItems{{L"c.apk", 3}, {L"b.apk", 2}}));
    // The last outcome stays until the new batch has its own.
    EXPECT_EQ(queue.Finished().failed.size(), 2u);
    queue.OnResult(3, adb::Success, L"");
    queue.OnResult(2, adb::Success, L"");
    EXPECT_EQ(queue.Finished().total, 2u);
    EXPECT_TRUE(queue.Finished().failed.empty());
    EXPECT_TRUE(queue.StartFailedAgain().empty());
}

TEST(InstallQueue, ProgressIsKeptForTheApkBeingInstalledOnly) {
    InstallQueue queue;
    queue.StartBatch({L"a.apk", L"b.apk"});
    EXPECT_EQ(queue.Percent(), -1);
    queue.OnStarted(1);
    queue.OnProgress(2, 50);  // not the one being installed
    EXPECT_EQ(queue.Percent(), -1);
    queue.OnProgress(1, 45);
    EXPECT_EQ(queue.Percent(), 45);
    queue.OnProgress(1, 250);
    EXPECT_EQ(queue.Percent(), 100);
    queue.OnResult(1, adb::Success, L"");
    queue.OnStarted(2);  // a new APK starts without a known percent
    EXPECT_EQ(queue.Percent(), -1);
    EXPECT_EQ(queue.InstallingPosition(), 2u);
}

TEST(InstallQueue, NamesOfTheApks) {
    InstallQueue queue;
    queue.StartBatch({L"C:\\apps\\游戏 大全.apk", L"b.apk"});
    EXPECT_EQ(queue.ApkName(1), L"游戏 大全.apk");
    EXPECT_EQ(queue.ApkName(99), L"指定程序");
}

}  // namespace
