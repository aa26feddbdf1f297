#include "ui/main/install_queue.h"

#include <gtest/gtest.h>

#include "adb/command_set.h"

namespace {

using ui::InstallQueue;
using Batch = std::vector<std::pair<std::wstring, int32_t>>;

TEST(InstallQueue, OnlyApkFilesGetIdsInDropOrder) {
    InstallQueue queue;
    ASSERT_TRUE(queue.AcceptDrop({L"C:\\a.apk", L"C:\\notes.txt", L"D:\\x\\B.APK", L"C:\\noext", L"C:\\dir.apk\\readme",
                                  L"", L"C:\\f.apk.bak"}));
    EXPECT_EQ(queue.Batch(), (Batch{{L"C:\\a.apk", 1}, {L"D:\\x\\B.APK", 2}}));
    // A second drop goes on counting.
    ASSERT_TRUE(queue.AcceptDrop({L"Z:\\tmp\\c.Apk", L"Z:\\tmp\\d.apk"}));
    EXPECT_EQ(queue.Batch(), (Batch{{L"Z:\\tmp\\c.Apk", 3}, {L"Z:\\tmp\\d.apk", 4}}));
}

TEST(InstallQueue, ADropWithoutApksStartsNothingAndForgetsTheLastBatch) {
    InstallQueue queue;
    queue.AcceptDrop({L"a.apk"});
    queue.OnResult(1, adb::Failed);
    EXPECT_FALSE(queue.AcceptDrop({L"a.txt"}));
    EXPECT_FALSE(queue.TakeFailedAgain());
    EXPECT_TRUE(queue.Batch().empty());
}

TEST(InstallQueue, OnlyTheFirstHundredNamesAreLookedAt) {
    std::vector<std::wstring> names(150, L"x.apk");
    InstallQueue queue;
    queue.AcceptDrop(names);
    EXPECT_EQ(queue.Batch().size(), 100u);
}

TEST(InstallQueue, BatchCompletesWhenEveryApkHasAResult) {
    InstallQueue queue;
    queue.AcceptDrop({L"a.apk", L"b.apk", L"c.apk"});
    queue.OnStarted(1);
    queue.OnResult(1, adb::Started);
    EXPECT_FALSE(queue.Complete());
    queue.OnResult(1, adb::Success);
    queue.OnResult(2, adb::AlreadyExists);
    EXPECT_FALSE(queue.Complete());
    queue.OnResult(3, adb::InvalidUri);
    EXPECT_TRUE(queue.Complete());
    EXPECT_EQ(queue.Total(), 3u);
    EXPECT_EQ(queue.Failed(), 1u);
}

TEST(InstallQueue, InstallAgainTakesOnlyTheFailedOnesInFailureOrder) {
    InstallQueue queue;
    queue.AcceptDrop({L"a.apk", L"b.apk", L"c.apk"});
    queue.OnResult(3, adb::Failed);
    queue.OnResult(1, adb::Success);
    queue.OnResult(2, adb::Failed);
    ASSERT_TRUE(queue.TakeFailedAgain());
    EXPECT_EQ(queue.Batch(), (Batch{{L"c.apk", 3}, {L"b.apk", 2}}));
    queue.OnResult(3, adb::Success);
    queue.OnResult(2, adb::Success);
    EXPECT_TRUE(queue.Complete());
    EXPECT_EQ(queue.Total(), 2u);
    EXPECT_EQ(queue.Failed(), 0u);
}

TEST(InstallQueue, NamesOfTheApks) {
    InstallQueue queue;
    queue.AcceptDrop({L"C:\\apps\\游戏 大全.apk", L"b.apk"});
    EXPECT_EQ(queue.ApkName(1), L"游戏 大全.apk");
    EXPECT_EQ(queue.ApkName(99), L"指定程序");
}

}  // namespace
