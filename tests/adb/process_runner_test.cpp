// The runner against real child processes: the test program "emit.exe" prints what it is told.
#include "adb/process_runner.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "test_support/temp_dir.h"
#include "test_support/test_programs.h"

namespace {

using test_support::TestProgram;

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

// The client is always called adb.exe, and its folder becomes the child's current directory.
class ProcessRunner : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileW(TestProgram(L"emit.exe").c_str(), client_.c_str(), FALSE));
        adb::SetAdbPath(client_);
    }
    void TearDown() override { adb::CommandLogEnabled = false; }
    std::string Run(const std::wstring& args) {
        std::string out;
        EXPECT_TRUE(adb::RunCommandLine(Quoted(client_) + L" " + args, out, true));
        return out;
    }

    test_support::TempDir folder_;
    const std::wstring client_ = (folder_.path() / L"adb.exe").wstring();
};

TEST_F(ProcessRunner, CapturesStdoutAndStderrTogether) {
    EXPECT_EQ(Run(L"out:one err:two out:three"), "onetwothree");
}

TEST_F(ProcessRunner, OutputLongerThanOneReadArrivesWholeAndInOrder) {
    const std::string out = Run(L"rep:3000:a out:| rep:5000:b out:| rep:70000:c");
    ASSERT_EQ(out.size(), 3000u + 1 + 5000 + 1 + 70000);
    EXPECT_EQ(out, std::string(3000, 'a') + "|" + std::string(5000, 'b') + "|" + std::string(70000, 'c'));
}

TEST_F(ProcessRunner, ZeroByteCutsOnlyItsOwnChunk) {
    EXPECT_EQ(Run(L"out:abc^0def sleep:300 out:ghi"), "abcghi");
}

TEST_F(ProcessRunner, ChildRunsInTheClientFolder) {
    EXPECT_EQ(std::filesystem::path(Run(L"cwd")), folder_.path());
}

TEST_F(ProcessRunner, WithoutCaptureNothingIsRead) {
    std::string out;
    EXPECT_TRUE(adb::RunCommandLine(Quoted(client_) + L" out:ignored", out, false));
    EXPECT_TRUE(out.empty());
}

TEST_F(ProcessRunner, MissingProgramFailsWithNoOutput) {
    std::string out;
    EXPECT_FALSE(adb::RunCommandLine(L"C:\\nowhere\\missing.exe connect 1.2.3.4", out, true));
    EXPECT_TRUE(out.empty());
    std::wstring wide = L"stale";
    adb::SetAdbPath(L"");
    adb::DoCommand(L"$adb$ devices", wide);
    EXPECT_TRUE(wide.empty());
}

TEST_F(ProcessRunner, CommandLineIsCutAt4095Characters) {
    // The cut drops the tail that would have printed "TAIL".
    const std::wstring head = Quoted(client_) + L" out:";
    const std::wstring line = head + std::wstring(4095 - head.size(), L'x') + L" out:TAIL";
    std::string out;
    ASSERT_TRUE(adb::RunCommandLine(line, out, true));
    EXPECT_EQ(out, std::string(4095 - head.size(), 'x'));
}

TEST_F(ProcessRunner, DoCommandSubstitutesEveryClientMacroAndConverts) {
    std::wstring out;
    adb::DoCommand(L"$adb$ out:$adb$", out);
    EXPECT_EQ(out, client_) << "the macro in the argument is replaced too";
    adb::DoCommand(L"$adb$ out:first^r^n", out);
    EXPECT_EQ(out, L"first\r\n");
}

TEST_F(ProcessRunner, ScriptRunsEachLineAndJoinsTheOutputs) {
    std::wstring out;
    adb::RunScript(L"$adb$ out:A\r\n\r\n$adb$ out:B\r\n$adb$ out:never", out);
    EXPECT_EQ(out, L"AB");
}

TEST_F(ProcessRunner, LogHoldsBeforeOutputAndAfterRecordsInOrder) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring log = self;
    log = log.substr(0, log.rfind(L'.')) + L".log";
    DeleteFileW(log.c_str());

    adb::CommandLogEnabled = true;
    std::wstring out;
    adb::DoCommand(L"$adb$ out:hello", out);

    std::ifstream in(std::filesystem::path(log), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    const size_t before = s.find("<-----before DoCommand $adb$ out:hello\r\n");
    const size_t output = s.find("\r\n time:", before);
    const size_t hello = s.find("hello", output + 8);
    const size_t after = s.find("----->after time=", hello);
    ASSERT_NE(before, std::string::npos) << s;
    ASSERT_NE(output, std::string::npos) << s;
    ASSERT_NE(after, std::string::npos) << s;
    EXPECT_EQ(s.compare(0, 8, "\r\n time:"), 0) << "every record starts with its time line";
    EXPECT_NE(s.find(" DoCommand $adb$ out:hello\r\n", after), std::string::npos);
    size_t records = 0;
    for (size_t at = s.find("\r\n time:"); at != std::string::npos; at = s.find("\r\n time:", at + 1)) ++records;
    EXPECT_EQ(records, 3u);
    EXPECT_EQ(s.find("\r\r\n"), std::string::npos) << "records keep their line ends as written";
    in.close();
    DeleteFileW(log.c_str());
}

}  // namespace
