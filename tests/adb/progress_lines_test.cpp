// Our client's progress lines read from output that arrives in pieces cut anywhere.
#include "adb/progress_lines.h"
#include "adb/long_path.h"

#include <gtest/gtest.h>

namespace {

using adb::ProgressPercent;

TEST(ProgressLines, ALineTellsItsPercentAnyOtherLineNothing) {
    EXPECT_EQ(ProgressPercent("progress: 0/1000\n"), 0);
    EXPECT_EQ(ProgressPercent("progress: 455/1000\r\n"), 45);
    EXPECT_EQ(ProgressPercent("progress: 1000/1000"), 100);
    EXPECT_EQ(ProgressPercent("progress: 0/0"), 100);
    EXPECT_EQ(ProgressPercent("progress: 18446744073709551/18446744073709551"), 100);
    EXPECT_EQ(ProgressPercent("progress: 9223372036854775807/9223372036854775808"), 99);
    for (const char* other : {"progress: 5/4", "progress: 1/", "progress: /4", "progress: 1/4 bytes", "Progress: 1/4",
                              " progress: 1/4", "progress: -1/4", "progress: 99999999999999999999/1", "Success"})
        EXPECT_FALSE(ProgressPercent(other)) << other;
}

TEST(ProgressLines, PiecesCutAnywhereGiveTheLastWholeLinesPercent) {
    adb::ProgressLines lines;
    EXPECT_FALSE(lines.Feed("Performing Streamed Install\nprogress: 1"));
    EXPECT_FALSE(lines.Feed("0/100"));
    EXPECT_EQ(lines.Feed("\nprogress: 20/100\nprogress: 3"), 20);
    EXPECT_EQ(lines.Feed("0/100\n"), 30);
    // A long line of other text is no progress line, however it ends.
    EXPECT_FALSE(lines.Feed(std::string(100, 'x') + "progress: 40/100\n"));
    EXPECT_EQ(lines.Feed("progress: 50/100\n"), 50);
}

TEST(ProgressLines, TheClientsOtherWordsAreKeptWithoutTheProgressLines) {
    EXPECT_EQ(adb::WithoutProgressLines(L"Performing Streamed Install\nprogress: 0/9\r\nprogress: 9/9\nSuccess\r\n"),
              L"Performing Streamed Install\nSuccess\r\n");
    // A progress line cut short by the end of the output is the client's last word, and kept.
    EXPECT_EQ(adb::WithoutProgressLines(L"progress: 1/9"), L"progress: 1/9");
    EXPECT_EQ(adb::WithoutProgressLines(L"失败 progress: 1/9\n"), L"失败 progress: 1/9\n");
}

TEST(LongPath, LongDriveAndNetworkPathsTakeTheExtendedForm) {
    const std::wstring deep(300, L'x');
    EXPECT_EQ(adb::LongPathForm(L"C:\\a.apk"), L"C:\\a.apk");
    EXPECT_EQ(adb::LongPathForm(L"C:\\" + deep), L"\\\\?\\C:\\" + deep);
    EXPECT_EQ(adb::LongPathForm(L"c:/d/" + deep), L"\\\\?\\c:\\d\\" + deep);
    EXPECT_EQ(adb::LongPathForm(L"\\\\server\\share\\" + deep), L"\\\\?\\UNC\\server\\share\\" + deep);
    EXPECT_EQ(adb::LongPathForm(L"\\\\?\\C:\\" + deep), L"\\\\?\\C:\\" + deep);
    EXPECT_EQ(adb::LongPathForm(L"relative\\" + deep), L"relative\\" + deep);
    EXPECT_EQ(adb::LongPathForm(L"\\\\.\\pipe\\" + deep), L"\\\\.\\pipe\\" + deep);
}

}  // namespace
