#include "adb/command_text.h"

#include <gtest/gtest.h>

namespace {

using adb::ReplaceAll;
using adb::SplitScript;

TEST(CommandText, EveryMacroOccurrenceIsReplaced) {
    EXPECT_EQ(ReplaceAll(L"$adb$ -s x $adb$$adb$", L"$adb$", L"C:\\t\\adb.exe"),
              L"C:\\t\\adb.exe -s x C:\\t\\adb.exeC:\\t\\adb.exe");
    // A replacement that contains the macro is not replaced again.
    EXPECT_EQ(ReplaceAll(L"a$ip$b", L"$ip$", L"$ip$$ip$"), L"a$ip$$ip$b");
    EXPECT_EQ(ReplaceAll(L"$ADB$ x", L"$adb$", L"y"), L"$ADB$ x");
    EXPECT_EQ(ReplaceAll(L"$adb$ devices", L"$adb$", L""), L" devices");
}

TEST(CommandText, ScriptLinesEndWithCrLf) {
    EXPECT_EQ(SplitScript(L"a\r\n\r\nb\r\n"), (std::vector<std::wstring>{L"a", L"", L"b"}));
    // Text after the last line end is no command.
    EXPECT_EQ(SplitScript(L"a\r\nb"), (std::vector<std::wstring>{L"a"}));
    EXPECT_TRUE(SplitScript(L"lonely").empty());
    EXPECT_EQ(SplitScript(L"a\nb\r\n"), (std::vector<std::wstring>{L"a\nb"}));
}

TEST(CommandText, TheClientIsStartedByItsFullPathQuotedWhateverItsFolderIsCalled) {
    const std::wstring paths[] = {
        L"C:\\Users\\John Smith\\AppData\\Local\\Temp\\adb_local\\adb.exe",
        L"D:\\My Temp\\adb_local\\adb.exe",
        L"C:\\用户\\临时 & 100% ^up\\adb_local\\adb.exe",
        L"C:\\" + std::wstring(230, L'x') + L"\\adb.exe",
    };
    for (const std::wstring& path : paths) {
        const adb::ClientLaunch launch = adb::ClientCommandLine(L"$adb$ -s 10.0.0.7:5555 install \"a b.apk\"", path);
        EXPECT_EQ(launch.program, path);
        EXPECT_EQ(launch.commandLine, L"\"" + path + L"\" -s 10.0.0.7:5555 install \"a b.apk\"");
    }
    // Later macros are arguments and get the path as it is.
    EXPECT_EQ(adb::ClientCommandLine(L"$adb$ out:$adb$", L"C:\\t\\adb.exe").commandLine,
              L"\"C:\\t\\adb.exe\" out:C:\\t\\adb.exe");
    EXPECT_EQ(adb::ClientCommandLine(L"$adb$", L"C:\\t\\adb.exe").commandLine, L"\"C:\\t\\adb.exe\"");
    // Without a client, or without the client first, there is nothing to start: never the rest of
    // the line read as a program of its own.
    EXPECT_TRUE(adb::ClientCommandLine(L"$adb$ devices", L"").program.empty());
    EXPECT_TRUE(adb::ClientCommandLine(L"cmd /c $adb$ devices", L"C:\\t\\adb.exe").program.empty());
    EXPECT_TRUE(adb::ClientCommandLine(L"", L"C:\\t\\adb.exe").program.empty());
}

TEST(CommandText, WorkingDirectoryIsTheClientFolder) {
    EXPECT_EQ(adb::WorkingDirectoryFor(L"C:\\Users\\u\\Temp\\adb_local\\adb.exe"), L"C:\\Users\\u\\Temp\\adb_local");
    EXPECT_EQ(adb::WorkingDirectoryFor(L""), L"");
    EXPECT_EQ(adb::WorkingDirectoryFor(L"C:\\" + std::wstring(400, L'x') + L"\\adb.exe").size(), 259u);
}

TEST(CommandText, LogSitsBesideTheProgram) {
    EXPECT_EQ(adb::CommandLogPathFor(L"C:\\Apps\\MivoraBoxAssistant.exe"), L"C:\\Apps\\MivoraBoxAssistant.log");
    EXPECT_EQ(adb::CommandLogPathFor(L"C:\\v1.2\\Mivora.exe"), L"C:\\v1.2\\Mivora.log");
    // Never the program file itself.
    EXPECT_EQ(adb::CommandLogPathFor(L"C:\\v1.2\\Mivora"), L"C:\\v1.2\\Mivora.log");
}

}  // namespace
