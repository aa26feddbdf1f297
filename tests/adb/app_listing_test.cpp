#include "adb/app_listing.h"

#include <gtest/gtest.h>

#include "adb/app_commands.h"
#include "adb/app_failure_text.h"
#include "adb/command_set.h"
#include "adb/failure_reason.h"

namespace {

using namespace adb;

TEST(PackageList, EveryVariantGivesNameAndPath) {
    const auto packages = ParsePackageList(
        L"package:com.plain\r\n"
        L"package:/data/app/com.new-Ab1_x==/base.apk=com.new\n"   // base64 folders end in '='
        L"package:/system/app/Settings.apk=com.android.settings versionCode:28\n"
        L"package:com.with.uid uid:10085\n"
        L"  \n"
        L"WARNING: linker: something\n"
        L"package:\n"
        L"package:/data/app/half=");
    ASSERT_EQ(packages.size(), 4u);
    EXPECT_EQ(packages[0].name, L"com.plain");
    EXPECT_EQ(packages[0].path, L"");
    EXPECT_EQ(packages[1].name, L"com.new");
    EXPECT_EQ(packages[1].path, L"/data/app/com.new-Ab1_x==/base.apk");
    EXPECT_EQ(packages[2].name, L"com.android.settings");
    EXPECT_EQ(packages[2].path, L"/system/app/Settings.apk");
    EXPECT_EQ(packages[3].name, L"com.with.uid");
}

// The Packages section as boxes of Android 9 and 4.0 print it, with a hidden system package after it.
constexpr const wchar_t* kDump =
    L"Database versions:\n"
    L"  Internal:\n"
    L"    sdkVersion=28 databaseVersion=3\n"
    L"\n"
    L"Packages:\n"
    L"  Package [com.example.tv] (3c7c9c3):\n"
    L"    userId=10085\n"
    L"    codePath=/data/app/com.example.tv-Xyz==\n"
    L"    versionCode=42 minSdk=21 targetSdk=28\n"
    L"    versionName=2.1.0 beta\n"
    L"    splits=[base, config.armeabi_v7a, config.zh]\n"
    L"    flags=[ HAS_CODE ALLOW_CLEAR_USER_DATA ALLOW_BACKUP ]\n"
    L"    lastUpdateTime=2020-03-04 10:11:12\n"
    L"    pkgFlags=[ HAS_CODE ALLOW_CLEAR_USER_DATA ALLOW_BACKUP ]\n"
    L"    User 0: ceDataInode=4 installed=true hidden=false suspended=false\n"
    L"  Package [com.android.settings] (1a2b):\n"
    L"    codePath=/system/priv-app/Settings\n"
    L"    versionCode=28\n"
    L"    flags=[ SYSTEM HAS_CODE PERSISTENT ]\n"
    L"    pkgFlags=[ SYSTEM HAS_CODE PERSISTENT ]\n"
    L"  Package [com.vendor.removed] (9f):\n"
    L"    versionCode=3\n"
    L"    pkgFlags=[ SYSTEM HAS_CODE ]\n"
    L"    User 0: installed=false hidden=false\n"
    L"  Package [com.old.box] (41):\n"
    L"    versionCode=7 targetSdk=15\r\n"
    L"    versionName=1.0\r\n"
    L"    pkgFlags=0x00be44\r\n"
    L"  Package [com.old.system] (42):\n"
    L"    pkgFlags=0x00be45\n"
    L"  Package [com.not.system] (43):\n"
    L"    flags=[ HAS_CODE UPDATED_SYSTEM_APP_NOT ]\n"
    L"    pkgFlags=[ NOTSYSTEM ]\n"
    L"\n"
    L"Hidden system packages:\n"
    L"  Package [com.example.tv] (77):\n"
    L"    versionCode=1\n"
    L"    pkgFlags=[ SYSTEM ]\n";

TEST(PackageDump, ReadsThePackagesSectionOnlyInEveryWording) {
    const auto dump = ParsePackageDump(kDump);
    ASSERT_EQ(dump.size(), 6u);
    const PackageDetails& tv = dump.at(L"com.example.tv");
    EXPECT_EQ(tv.versionCode, 42);
    EXPECT_EQ(tv.versionName, L"2.1.0 beta");
    EXPECT_EQ(tv.codePath, L"/data/app/com.example.tv-Xyz==");
    EXPECT_EQ(tv.lastUpdate, L"2020-03-04 10:11:12");
    EXPECT_FALSE(tv.system) << "the hidden older copy is not the package";
    EXPECT_TRUE(tv.installed);
    EXPECT_EQ(tv.splits, (std::vector<std::wstring>{L"config.armeabi_v7a", L"config.zh"}));
    EXPECT_TRUE(dump.at(L"com.android.settings").system);
    EXPECT_FALSE(dump.at(L"com.vendor.removed").installed);
    EXPECT_EQ(dump.at(L"com.old.box").versionCode, 7);
    EXPECT_EQ(dump.at(L"com.old.box").versionName, L"1.0");
    EXPECT_FALSE(dump.at(L"com.old.box").system);
    EXPECT_TRUE(dump.at(L"com.old.system").system);
    EXPECT_FALSE(dump.at(L"com.not.system").system);
}

TEST(PackageDump, HostileTextReadsNothingOutOfBounds) {
    for (const wchar_t* text : {L"Packages:\n  Package [", L"Packages:\n  Package [x", L"Packages:\n    versionCode=",
                                L"Packages:\n  Package [a]\n    pkgFlags=0x", L"Packages:\n  Package [a]\n    splits=[",
                                L"Packages:\n  Package [b]\n    versionCode=99999999999999999999999999"}) {
        const auto dump = ParsePackageDump(text);
        EXPECT_LE(dump.size(), 1u) << text;
    }
    EXPECT_GT(ParsePackageDump(L"Packages:\n  Package [b]\n    versionCode=99999999999999999999999999")
                  .at(L"b").versionCode, 0);
}

constexpr const wchar_t* kActivities =
    L"2 activities found:\n"
    L"  Activity #0:\n"
    L"    priority=0 preferredOrder=0 match=0x108000 specificIndex=-1 isDefault=false\n"
    L"    ActivityInfo:\n"
    L"      name=com.example.tv.Main\n"
    L"      packageName=com.example.tv\n"
    L"      labelRes=0x0 nonLocalizedLabel=电视 直播 icon=0x0 banner=0x7f020000\n"
    L"      ApplicationInfo:\n"
    L"        packageName=com.example.tv\n"
    L"        labelRes=0x0 nonLocalizedLabel=Application name icon=0x7f0c0000 banner=0x0\n"
    L"  Activity #1:\n"
    L"    ActivityInfo:\n"
    L"      packageName=com.res.label\n"
    L"      labelRes=0x7f0e001b nonLocalizedLabel=null icon=0x0 banner=0x0\n"
    L"      ApplicationInfo:\n"
    L"        packageName=com.res.label\n"
    L"        labelRes=0x0 nonLocalizedLabel=From the app icon=0x0 banner=0x0\n"
    L"  Activity #2:\n"
    L"      packageName=bad'name\n";

TEST(LauncherActivities, TheActivityLabelComesFirstThenTheApplications) {
    const auto launchers = ParseLauncherActivities(kActivities);
    ASSERT_EQ(launchers.size(), 2u);
    EXPECT_EQ(launchers.at(L"com.example.tv"), L"电视 直播");
    EXPECT_EQ(launchers.at(L"com.res.label"), L"From the app");
}

TEST(PackagePaths, BaseThenSplits) {
    EXPECT_EQ(ParsePackagePaths(L"package:/data/app/a-1/base.apk\r\npackage:/data/app/a-1/split_config.zh.apk\r\n"
                                L"package:\n"),
              (std::vector<std::wstring>{L"/data/app/a-1/base.apk", L"/data/app/a-1/split_config.zh.apk"}));
    EXPECT_TRUE(ParsePackagePaths(L"Error: unknown package\n").empty());
}

TEST(Listing, MergesTheFourPartsAndDropsWhatIsUnsafeOrUninstalled) {
    const std::wstring output = std::wstring(L"package:/data/app/com.example.tv-Xyz==/base.apk=com.example.tv\n"
                                             L"package:/system/priv-app/Settings/Settings.apk=com.android.settings\n"
                                             L"package:/system/app/Gone.apk=com.vendor.removed\n"
                                             L"package:/data/app/x'; reboot;'.apk=com.quoted.path\n"
                                             L"package:/data/app/y.apk=bad;name\n"
                                             L"package:/data/app/com.example.tv-Xyz==/base.apk=com.example.tv\n"
                                             L"@@@@\n") +
                              kDump + L"@@@@\r\n" + kActivities + L"@@@@\nNo activities found\n";
    const auto apps = ReadListing(output);
    ASSERT_EQ(apps.size(), 3u);
    EXPECT_EQ(apps[0].package, L"com.example.tv");
    EXPECT_EQ(apps[0].label, L"电视 直播");
    EXPECT_EQ(apps[0].versionName, L"2.1.0 beta");
    EXPECT_EQ(apps[0].updated, L"2020-03-04 10:11:12");
    EXPECT_EQ(apps[0].launchable, std::optional<bool>(true));
    EXPECT_EQ(apps[0].apkPaths, (std::vector<std::wstring>{L"/data/app/com.example.tv-Xyz==/base.apk",
                                                           L"/data/app/com.example.tv-Xyz==/split_config.armeabi_v7a.apk",
                                                           L"/data/app/com.example.tv-Xyz==/split_config.zh.apk"}));
    EXPECT_TRUE(apps[1].system);
    EXPECT_EQ(apps[1].launchable, std::optional<bool>(false));
    EXPECT_EQ(apps[2].package, L"com.quoted.path");
    EXPECT_TRUE(apps[2].apkPaths.empty()) << "a path that would leave its quotes is never passed on";
}

TEST(Listing, OldBoxesWithoutCmdLeaveLaunchersUnknown) {
    const auto apps = ReadListing(L"package:/data/app/com.a-1.apk=com.a\r\npackage:/system/app/B.apk=com.b\r\n@@@@\r\n"
                                  L"@@@@\r\n/system/bin/sh: cmd: not found\r\n@@@@\r\n/system/bin/sh: cmd: not found\r\n");
    ASSERT_EQ(apps.size(), 2u);
    EXPECT_FALSE(apps[0].launchable.has_value());
    EXPECT_FALSE(apps[0].system) << "without a dump, where the APK lies tells";
    EXPECT_TRUE(apps[1].system);
    EXPECT_EQ(apps[0].apkPaths, (std::vector<std::wstring>{L"/data/app/com.a-1.apk"}));
    EXPECT_TRUE(ReadListing(L"error: device offline\n").empty());
}

TEST(Sizes, CommandsStayWithinTheLimitAndBothLsWordingsAreSummed) {
    std::vector<InstalledApp> apps(40);
    for (size_t i = 0; i < apps.size(); ++i) {
        apps[i].package = L"com.example.app" + std::to_wstring(i);
        apps[i].apkPaths = {L"/data/app/" + apps[i].package + L"-1/base.apk"};
    }
    apps[3].apkPaths.clear();
    const auto commands = SizeCommands(apps, 300);
    ASSERT_GT(commands.size(), 1u);
    std::wstring all;
    for (const auto& command : commands) {
        EXPECT_LE(command.size(), 300u);
        all += command;
    }
    EXPECT_EQ(all.find(L"=com.example.app3;"), std::wstring::npos);
    EXPECT_NE(all.find(L"echo =com.example.app39;ls -l '/data/app/com.example.app39-1/base.apk';"), std::wstring::npos);

    const auto sizes = ParseSizes(
        L"=com.toolbox\r\n"
        L"-rw-r--r-- system   system    1234567 2014-03-04 10:11 com.toolbox-1.apk\r\n"
        L"=com.toybox\n"
        L"-rw-r--r-- 1 system system 1000 2020-03-04 10:11 /data/app/com.toybox-1/base.apk\n"
        L"-rw-r--r-- 1 system system 24 2020-03-04 10:11 /data/app/com.toybox-1/split_config.zh.apk\n"
        L"drwxr-xr-x 2 system system 4096 2020-03-04 10:11 lib\n"
        L"=com.gone\n"
        L"ls: /data/app/com.gone-1/base.apk: No such file or directory\n"
        L"=bad'name\n"
        L"-rw-r--r-- 1 system system 5 2020-03-04 10:11 x\n"
        L"-rw-r--r-- 1 system system 99999999999999999999999 2020-03-04 10:11 huge\n");
    EXPECT_EQ(sizes, (std::map<std::wstring, uint64_t>{{L"com.toolbox", 1234567}, {L"com.toybox", 1024}, {L"com.gone", 0}}));
}

TEST(Names, PackagesAndRemotePaths) {
    EXPECT_TRUE(IsPackageName(L"com.example_1.A"));
    EXPECT_FALSE(IsPackageName(L""));
    EXPECT_FALSE(IsPackageName(L"a b"));
    EXPECT_FALSE(IsPackageName(L"a;reboot"));
    EXPECT_FALSE(IsPackageName(std::wstring(256, L'a')));
    EXPECT_TRUE(IsSafeRemotePath(L"/data/app/a-Xy==/base.apk"));
    EXPECT_FALSE(IsSafeRemotePath(L"data/app/a.apk"));
    EXPECT_FALSE(IsSafeRemotePath(L"/data/\"x"));
    EXPECT_FALSE(IsSafeRemotePath(L"/data/x\\"));
    EXPECT_FALSE(IsSafeRemotePath(L"/data/a\nb"));
}

TEST(ExportNames, FitForWindowsAndDistinct) {
    EXPECT_EQ(ExportName(L"电视直播", L"com.tv", L"2.1"), L"电视直播_2.1");
    EXPECT_EQ(ExportName(L"", L"com.tv", L""), L"com.tv");
    EXPECT_EQ(ExportName(L"a<b>:c\"/\\|?*\x01", L"p", L"1"), L"a_b__c________1");
    EXPECT_EQ(ExportName(L"con", L"p", L""), L"_con");
    EXPECT_EQ(ExportName(L"COM1", L"p", L"x"), L"COM1_x") << "a name with more after the device stem is no device";
    EXPECT_EQ(ExportName(L"LPT9", L"p", L""), L"_LPT9");
    EXPECT_EQ(ExportName(L"app. ", L"p", L""), L"app");
    EXPECT_EQ(ExportName(L" ...", L"com.p", L""), L"com.p");
    EXPECT_EQ(ExportName(std::wstring(200, L'x'), L"p", L"1").size(), kMaxExportName);
    EXPECT_EQ(NumberedName(L"A_1", 1, L".apk"), L"A_1.apk");
    EXPECT_EQ(NumberedName(L"A_1", 3, L""), L"A_1 (3)");
}

TEST(AppCommands, PullQuotesEveryPathAndOutcomesAreRead) {
    EXPECT_EQ(PullCommand({L"/data/app/a-1/base.apk", L"/data/app/a-1/split_x.apk"}, L"C:\\My Apps\\"),
              L"$adb$ -s $ip$:5555 pull \"/data/app/a-1/base.apk\" \"/data/app/a-1/split_x.apk\" \"C:\\My Apps\"");
    EXPECT_EQ(ClassifyOpen(L"Events injected: 1\r\n## Network stats: elapsed time=14ms"), Success);
    EXPECT_EQ(ClassifyOpen(L"** No activities found to run, monkey aborted."), Failed);
    EXPECT_EQ(ClassifyPull(L"/a: 1 file pulled, 0 skipped.", 0), Success);
    EXPECT_EQ(ClassifyPull(L"/a: 1 file pulled, 0 skipped.", 1), Failed);
    EXPECT_EQ(ClassifyPull(L"adb: error: failed to pull", 0), Failed);
}

TEST(AppCommands, OnlyTheClientsOwnWordsSayItDoesNotKnowTheBox) {
    EXPECT_TRUE(ClientLacksBox(L"error: device '10.0.0.7:5555' not found\r\n"));
    EXPECT_TRUE(ClientLacksBox(L"* daemon not running; starting now at tcp:5037\n* daemon started successfully\n"
                               L"error: device '10.0.0.7:5555' not found\n"));
    EXPECT_TRUE(ClientLacksBox(L"error: no devices/emulators found\n"));
    EXPECT_FALSE(ClientLacksBox(L"error: device '10.0.0.7:5555' offline: the box did not answer\r\n"));
    // A box's own output that holds the words is an answer, not the client's complaint.
    EXPECT_FALSE(ClientLacksBox(L"package:/data/app/a-1/base.apk=a\n  message: error: device 'x' not found\n"));
    EXPECT_FALSE(ClientLacksBox(L"/system/bin/sh: cmd: not found\n"));
    EXPECT_TRUE(PullFoundNoFile(L"adb: error: remote object '/data/app/a-1/base.apk' does not exist\n"));
    EXPECT_FALSE(PullFoundNoFile(L"adb: error: failed to pull '/a': the box closed the connection\n"));
}

}  // namespace

namespace {

TEST(AppFailureTexts, TheBoxsWordsFirstThenTheLinkThenTheLastLine) {
    EXPECT_EQ(adb::AppFailureText(L"Failure [DELETE_FAILED_DEVICE_POLICY_MANAGER]\r\n"), L"盒子的管理策略不允许卸载此应用");
    EXPECT_EQ(adb::AppFailureText(L"adb: error: cannot write 'C:\\x': No space left on device"), L"电脑的磁盘空间不足");
    EXPECT_EQ(adb::AppFailureText(L"adb: error: failed to pull '/a': the box closed the connection\n"),
              adb::FailureText(adb::FailureReason::ConnectionLost, {}));
    EXPECT_EQ(adb::AppFailureText(L"** No activities found to run, monkey aborted.\n"), L"此应用没有可在电视上打开的界面");
    EXPECT_EQ(adb::AppFailureText(L"first\n  something odd happened  \r\n\n"), L"something odd happened");
    EXPECT_EQ(adb::AppFailureText(std::wstring(500, L'x')).size(), adb::kMaxLastLine);
    EXPECT_EQ(adb::AppFailureText(L" \r\n"), L"未知原因");
}

}  // namespace
