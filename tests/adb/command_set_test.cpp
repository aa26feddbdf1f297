#include "adb/command_set.h"

#include <gtest/gtest.h>

#include "adb/apk_staging.h"
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
    EXPECT_EQ(ClassifyInstall(L"Performing Streamed Install\r\nSuccess\r\n"), Success);
    EXPECT_EQ(ClassifyInstall(L"success"), Success);
    EXPECT_EQ(ClassifyInstall(L"Failure [INSTALL_FAILED_ALREADY_EXISTS]"), AlreadyExists);
    EXPECT_EQ(ClassifyInstall(L"Failure [INSTALL_FAILED_INVALID_URI]"), InvalidUri);
    EXPECT_EQ(ClassifyInstall(L"Failure [INSTALL_FAILED_OLDER_SDK]"), Failed);
    EXPECT_EQ(ClassifyInstall(L"adb: error: cannot stat 'x.apk'"), Failed);
    // "Success" anywhere wins, whatever else the output says.
    EXPECT_EQ(ClassifyInstall(L"Failure [INSTALL_FAILED_ALREADY_EXISTS]\r\nSuccess"), Success);
}

TEST(CommandSet, StagedNamesPadTheCookieToFourDigits) {
    EXPECT_EQ(StagedFileName(7), L"mivora_apk_0007.apk");
    EXPECT_EQ(StagedFileName(12345), L"mivora_apk_12345.apk");
    EXPECT_EQ(StagedFileName(0), L"mivora_apk_0000.apk");
}

}  // namespace
