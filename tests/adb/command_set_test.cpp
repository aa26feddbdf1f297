#include "adb/command_set.h"

#include <gtest/gtest.h>

#include "adb/apk_staging.h"
#include "adb/child_limits.h"
#include "adb/command_text.h"

namespace {

using namespace adb;

TEST(CommandSet, TemplatesBecomeTheClientsCommandLines) {
    const std::wstring adb = L"D:\\T\\adb_local\\adb.exe";
    const auto line = [&](const std::wstring& text) { return ReplaceAll(text, L"$adb$", adb); };
    EXPECT_EQ(line(FormatTemplate(templates::kConnect, L"192.168.1.20")),
              L"D:\\T\\adb_local\\adb.exe connect 192.168.1.20");
    EXPECT_EQ(line(ReplaceAll(templates::kQueryModel, L"$ip$", L"10.0.0.7")),
              L"D:\\T\\adb_local\\adb.exe -s 10.0.0.7:5555 shell getprop ro.build.host;getprop ro.product.model");
    EXPECT_EQ(line(FormatTemplate(templates::kInstall, L"192.168.1.20", L"D:\\T\\mivoraapk\\mivora_apk_0003.apk")),
              L"D:\\T\\adb_local\\adb.exe -s 192.168.1.20:5555 install \"D:\\T\\mivoraapk\\mivora_apk_0003.apk\"");
    EXPECT_EQ(FormatTemplate(templates::kUninstall, L"192.168.1.20", L"com.example.app"),
              L"$adb$ -s 192.168.1.20:5555 uninstall com.example.app");
    // Inserted text is never read as a marker itself.
    EXPECT_EQ(FormatTemplate(L"a %s b %s", L"%s", L"x"), L"a %s b x");
}

TEST(CommandSet, ConnectIsRecognisedByItsWordAnywhere) {
    EXPECT_EQ(ClassifyConnect(L"connected to 192.168.1.20:5555"), Connected);
    EXPECT_EQ(ClassifyConnect(L"already connected to 192.168.1.20:5555\r\n"), Connected);
    EXPECT_EQ(ClassifyConnect(L"disconnected 192.168.1.20:5555"), Connected);
    EXPECT_EQ(ClassifyConnect(L"CONNECTED"), Connected);
    EXPECT_EQ(ClassifyConnect(L"unable to connect to 192.168.1.20:5555"), NotConnected);
    EXPECT_EQ(ClassifyConnect(L"failed to authenticate to 192.168.1.20:5555"), NotConnected);
}

TEST(CommandSet, InstallOutcomesInTheirOrder) {
    EXPECT_EQ(ClassifyInstall(L"Performing Streamed Install\r\nSuccess\r\n", 0), Success);
    EXPECT_EQ(ClassifyInstall(L"success", 0), Success);
    EXPECT_EQ(ClassifyInstall(L"Performing Push Install\n\tpkg: /data/local/tmp/x.apk\r\nSuccess\r\n", 0), Success);
    EXPECT_EQ(ClassifyInstall(L"Failure [INSTALL_FAILED_ALREADY_EXISTS]", 1), AlreadyExists);
    EXPECT_EQ(ClassifyInstall(L"adb: failed to install x.apk: Failure [INSTALL_FAILED_ALREADY_EXISTS: Attempt]", 1),
              AlreadyExists);
    EXPECT_EQ(ClassifyInstall(L"Failure [INSTALL_FAILED_INVALID_URI]", 0), InvalidUri);
    EXPECT_EQ(ClassifyInstall(L"Failure [INSTALL_FAILED_OLDER_SDK]", 1), Failed);
    EXPECT_EQ(ClassifyInstall(L"adb: error: cannot stat 'x.apk'", 1), Failed);
    EXPECT_EQ(ClassifyInstall(L"", 0), Failed);
}

TEST(CommandSet, ASuccessNeedsItsOwnLineAndAClientThatEndedWell) {
    // The failure text names the staged path: a user folder called "Successor" is in it.
    EXPECT_EQ(ClassifyInstall(L"adb: failed to install C:\\Users\\Successor\\Temp\\mivoraapk\\x.apk: "
                              L"Failure [INSTALL_FAILED_OLDER_SDK]\r\n", 1), Failed);
    EXPECT_EQ(ClassifyInstall(L"Performing Streamed Install\nNo Success here\n", 0), Failed);
    EXPECT_EQ(ClassifyInstall(L"Performing Streamed Install\nSuccess\n", 1), Failed) << "the client says it failed";
    EXPECT_EQ(ClassifyInstall(L"Failure [INSTALL_FAILED_ALREADY_EXISTS]\r\nSuccess", 1), AlreadyExists);
    EXPECT_EQ(ClassifyInstall(L"Failure [INSTALL_FAILED_ALREADY_EXISTS]\r\nSuccess", 0), Success);
}

TEST(CommandSet, StagedNamesPadTheNumberToFourDigits) {
    EXPECT_EQ(StagedFileName(7), L"mivora_apk_0007.apk");
    EXPECT_EQ(StagedFileName(12345), L"mivora_apk_12345.apk");
    EXPECT_EQ(StagedFileName(0), L"mivora_apk_0000.apk");
    EXPECT_TRUE(IsStagedFileName(StagedFileName(7)));
    EXPECT_TRUE(IsStagedFileName(L"mivora_apk_123456.apk"));
    for (const wchar_t* name : {L"mivora_apk_.apk", L"mivora_apk_12a.apk", L"mivora_apk_0001.apk.bak",
                                L"my_apk_0001.apk", L"mivora_apk_0001.APKX", L""})
        EXPECT_FALSE(IsStagedFileName(name)) << name;
}

TEST(CommandSet, ARunsFolderNamesItsProcess) {
    uint32_t id = 0;
    uint64_t time = 0;
    ASSERT_TRUE(ParseRunFolderName(RunFolderName(4242, 0x01DA2B3C4D5E6F70ull), id, time));
    EXPECT_EQ(id, 4242u);
    EXPECT_EQ(time, 0x01DA2B3C4D5E6F70ull);
    ASSERT_TRUE(ParseRunFolderName(RunFolderName(UINT32_MAX, UINT64_MAX), id, time));
    EXPECT_EQ(id, UINT32_MAX);
    EXPECT_EQ(time, UINT64_MAX);
    for (const wchar_t* name : {L"run-", L"run-12", L"run-12-", L"run-12-0123", L"run-x-0123456789abcdef",
                                L"run-99999999999-0123456789abcdef", L"walk-12-0123456789abcdef",
                                L"run-12-0123456789abcdefg", L"mivora_apk_0001.apk"})
        EXPECT_FALSE(ParseRunFolderName(name, id, time)) << name;
}

TEST(ChildLimits, OnlyInstallsMayBeSilentAndThenForTheirUpload) {
    const ChildLimits command = CommandLimits();
    EXPECT_EQ(command.totalMs, kCommandLimitMs);
    EXPECT_EQ(command.maxOutputBytes, kMaxCapturedOutput);
    const ChildLimits small = InstallLimits(0);
    EXPECT_EQ(small.quietMs, kInstallQuietMs);
    EXPECT_EQ(small.totalMs, 0u) << "an upload may take as long as it takes while the client says nothing";
    EXPECT_EQ(InstallLimits(100ull * kSlowestUploadBytesPerSecond).quietMs, kInstallQuietMs + 100'000u);
    EXPECT_EQ(InstallLimits(kSlowestUploadBytesPerSecond / 2).quietMs, kInstallQuietMs + 500u);
    EXPECT_EQ(InstallLimits(UINT64_MAX).quietMs, UINT32_MAX);
}

}  // namespace
