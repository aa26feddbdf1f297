// The runner against real child processes: the test program "emit.exe" prints what it is told.
#include "adb/process_runner.h"

#include <winsock2.h>
#include <windows.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "adb/child_process.h"
#include "adb/command_log.h"
#include "test_support/files.h"
#include "test_support/temp_dir.h"
#include "test_support/test_programs.h"

namespace {

namespace fs = std::filesystem;
using test_support::ReadAll;
using namespace adb;
using test_support::TestProgram;

fs::path ProgramLog() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).replace_extension(L".log");
}

size_t Count(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

// The client is always called adb.exe, and its folder becomes the child's current directory.
class ProcessRunner : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileW(TestProgram(L"emit.exe").c_str(), client_.c_str(), FALSE));
        SetAdbPath(client_);
    }
    void TearDown() override { CommandLogEnabled = false; }

    ChildRun Run(const std::wstring& args, const ChildLimits& limits = CommandLimits()) {
        return RunChild(ClientCommandLine(L"$adb$ " + args, client_), folder_.path().wstring(), limits);
    }
    std::string Output(const std::wstring& args) { return Run(args).output; }

    test_support::TempDir folder_;
    const std::wstring client_ = (folder_.path() / L"adb.exe").wstring();
};

TEST_F(ProcessRunner, CapturesStdoutAndStderrTogether) {
    EXPECT_EQ(Output(L"out:one err:two out:three"), "onetwothree");
}

TEST_F(ProcessRunner, OutputLongerThanOneReadArrivesWholeAndInOrder) {
    const std::string out = Output(L"rep:3000:a out:| rep:5000:b out:| rep:70000:c");
    ASSERT_EQ(out.size(), 3000u + 1 + 5000 + 1 + 70000);
    EXPECT_EQ(out, std::string(3000, 'a') + "|" + std::string(5000, 'b') + "|" + std::string(70000, 'c'));
}

TEST_F(ProcessRunner, ZeroBytesAreKeptLikeAnyOther) {
    EXPECT_EQ(Output(L"out:abc^0def sleep:300 out:ghi"), std::string("abc\0defghi", 10));
}

TEST_F(ProcessRunner, ChildRunsInTheClientFolderAndItsExitCodeIsRead) {
    EXPECT_EQ(fs::path(Output(L"cwd")), folder_.path());
    const ChildRun run = Run(L"out:bye exit:3");
    EXPECT_EQ(run.end, ChildEnd::Exited);
    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_EQ(Run(L"out:fine").exitCode, 0u);
}

TEST_F(ProcessRunner, WithoutAClientNothingStarts) {
    std::wstring out = L"stale";
    EXPECT_EQ(DoCommand(L"$adb$ devices", out, CommandLimits()).end, ChildEnd::Exited);
    SetAdbPath(L"C:\\nowhere\\missing.exe");
    EXPECT_EQ(DoCommand(L"$adb$ connect 1.2.3.4", out, CommandLimits()).end, ChildEnd::NotStarted);
    EXPECT_TRUE(out.empty());
    // Without a client "$adb$" names nothing, and the rest of the line must not be run instead.
    SetAdbPath(L"");
    out = L"stale";
    EXPECT_EQ(DoCommand(L"$adb$ devices", out, CommandLimits()).end, ChildEnd::NotStarted);
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(StartCommand(L"$adb$ start-server"));
}

TEST_F(ProcessRunner, CommandLineIsCutAt4095Characters) {
    // The cut drops the tail that would have printed "TAIL".
    const std::wstring head = L"\"" + client_ + L"\" out:";
    const std::wstring line = head + std::wstring(4095 - head.size(), L'x') + L" out:TAIL";
    const ChildRun run = RunChild({client_, line}, folder_.path().wstring(), CommandLimits());
    EXPECT_EQ(run.output, std::string(4095 - head.size(), 'x'));
}

TEST_F(ProcessRunner, DoCommandSubstitutesEveryClientMacroAndDecodesUtf8) {
    std::wstring out;
    DoCommand(L"$adb$ out:$adb$", out, CommandLimits());
    EXPECT_EQ(out, client_) << "the macro in the argument is replaced too";
    DoCommand(L"$adb$ out:first^r^n", out, CommandLimits());
    EXPECT_EQ(out, L"first\r\n");
    // Both clients print UTF-8: a Chinese APK name in an error comes back as it was.
    DoCommand(L"$adb$ out:adb:^_failed^_to^_install^_视频播放器.apk", out, CommandLimits());
    EXPECT_EQ(out, L"adb:_failed_to_install_视频播放器.apk");
}

TEST_F(ProcessRunner, ScriptRunsEachLineAndJoinsTheOutputs) {
    std::wstring out;
    RunScript(L"$adb$ out:A\r\n\r\n$adb$ out:B\r\n$adb$ out:never", out, CommandLimits());
    EXPECT_EQ(out, L"AB");
}

// Whatever the temporary folder is called, the client at the path given runs, and no program
// planted at the folder name's first word.
TEST_F(ProcessRunner, AClientInAFolderWithBlanksAndSymbolsRunsByItsFullPath) {
    const fs::path planted = folder_.path() / L"My.exe";
    ASSERT_TRUE(CopyFileW(TestProgram(L"fakeadb.exe").c_str(), planted.c_str(), FALSE));
    const std::wstring names[] = {L"My Temp", L"My 临时 & 100% ^up", L"My " + std::wstring(120, L'长') + L" folder"};
    for (const std::wstring& name : names) {
        const fs::path folder = folder_.path() / name;
        fs::create_directories(folder);
        const std::wstring client = (folder / L"adb.exe").wstring();
        ASSERT_TRUE(CopyFileW(TestProgram(L"emit.exe").c_str(), client.c_str(), FALSE));
        SetAdbPath(client);
        std::wstring out;
        const CommandOutcome outcome = DoCommand(L"$adb$ out:real cwd", out, CommandLimits());
        EXPECT_EQ(outcome.exitCode, 0u);
        EXPECT_EQ(out, L"real" + folder.wstring()) << "started from a folder called " << fs::path(name).string();
    }
    EXPECT_FALSE(fs::exists(folder_.path() / L"fakeadb.calls")) << "the planted program ran";
}

TEST_F(ProcessRunner, AChildGetsOnlyItsOutputAndANullInput) {
    const std::string alone = Output(L"handles");
    // A sweep's worth of sockets and other inheritable handles in the program, as while it scans.
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    std::vector<SOCKET> sockets;
    for (int i = 0; i < 64; ++i) sockets.push_back(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    const HANDLE event = CreateEventW(&inheritable, TRUE, FALSE, nullptr);
    EXPECT_EQ(Output(L"handles"), alone) << "the child holds handles of the program's";
    EXPECT_EQ(Output(L"stdin"), "0") << "its input is empty, not the program's";
    CloseHandle(event);
    for (SOCKET s : sockets) closesocket(s);
    WSACleanup();
}

TEST_F(ProcessRunner, AChildThatStaysSilentTooLongIsEnded) {
    const DWORD start = GetTickCount();
    const ChildRun run = Run(L"out:a sleep:30000 out:b", {500, 0, kMaxCapturedOutput});
    EXPECT_LT(GetTickCount() - start, 15000u);
    EXPECT_EQ(run.end, ChildEnd::Silent);
    EXPECT_EQ(run.output, "a");
    EXPECT_EQ(run.exitCode, kEndedChildExitCode);
}

TEST_F(ProcessRunner, AChildThatKeepsPrintingIsEndedAtItsTimeLimit) {
    std::wstring trickle;
    for (int i = 0; i < 100; ++i) trickle += L"out:. sleep:200 ";
    const DWORD start = GetTickCount();
    const ChildRun run = Run(trickle, {1000, 2000, kMaxCapturedOutput});
    EXPECT_LT(GetTickCount() - start, 15000u);
    EXPECT_EQ(run.end, ChildEnd::Overran);
    EXPECT_FALSE(run.output.empty());
    EXPECT_LT(run.output.size(), 100u);
    EXPECT_NE(run.exitCode, 0u);
}

TEST_F(ProcessRunner, OutputBeyondTheCapEndsTheChildAndIsNotKept) {
    const ChildRun run = Run(L"rep:3000000:a sleep:30000", {0, 0, 1 << 20});
    EXPECT_EQ(run.end, ChildEnd::TooMuchOutput);
    EXPECT_EQ(run.output, std::string(1 << 20, 'a'));
    EXPECT_EQ(run.exitCode, kEndedChildExitCode);
}

TEST_F(ProcessRunner, AProcessTheChildLeftHoldingItsOutputDoesNotHoldTheReader) {
    // Google's client leaves its server running, which may keep the output pipe open.
    const DWORD start = GetTickCount();
    const ChildRun run = Run(L"out:x spawn:sleep:20000");
    EXPECT_LT(GetTickCount() - start, 8000u);
    EXPECT_EQ(run.end, ChildEnd::Exited);
    EXPECT_EQ(run.output, "x");
    EXPECT_EQ(run.exitCode, 0u);
}

// Whether a process runs the program file at path (other tests run programs called adb.exe too).
bool Running(const fs::path& path) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
        const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process) continue;
        wchar_t image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        found = QueryFullProcessImageNameW(process, 0, image, &size) && _wcsicmp(image, path.c_str()) == 0;
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return found;
}

TEST_F(ProcessRunner, NoClientOutlivesTheProgramThatStartedIt) {
    std::wstring line = L"\"" + TestProgram(L"runner_host.exe") + L"\" \"" + client_ + L"\" sleep:60000";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION host{};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &host));
    ASSERT_EQ(WaitForSingleObject(host.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(host.hProcess, &exitCode);
    CloseHandle(host.hThread);
    CloseHandle(host.hProcess);
    EXPECT_EQ(exitCode, 0u) << "the host could not start its client";
    const DWORD ended = GetTickCount();
    while (Running(client_) && GetTickCount() - ended < 20000) Sleep(50);
    EXPECT_FALSE(Running(client_)) << "the client outlived the program";
}

TEST_F(ProcessRunner, LogHoldsBeforeOutputAndAfterRecordsInOrderAsUtf8) {
    const fs::path log = ProgramLog();
    fs::remove(log);
    CommandLogEnabled = true;
    std::wstring out;
    DoCommand(L"$adb$ out:hello^_视频", out, CommandLimits());

    const std::string s = ReadAll(log);
    const size_t before = s.find("<-----before DoCommand $adb$ out:hello^_视频\r\n");
    const size_t output = s.find("\r\n time:", before);
    const size_t hello = s.find("hello_视频", output + 8);
    const size_t after = s.find("----->after time=", hello);
    ASSERT_NE(before, std::string::npos) << s;
    ASSERT_NE(output, std::string::npos) << s;
    ASSERT_NE(hello, std::string::npos) << s;
    ASSERT_NE(after, std::string::npos) << s;
    EXPECT_EQ(s.compare(0, 8, "\r\n time:"), 0) << "every record starts with its time line";
    EXPECT_NE(s.find(" DoCommand $adb$ out:hello^_视频\r\n", after), std::string::npos);
    EXPECT_EQ(Count(s, "\r\n time:"), 3u);
    EXPECT_EQ(s.find("\r\r\n"), std::string::npos) << "records keep their line ends as written";
    fs::remove(log);
}

TEST_F(ProcessRunner, TheLogBecomesTheOlderOneAtItsLimit) {
    const fs::path log = ProgramLog();
    const fs::path older = log.wstring() + L".1";
    fs::remove(log);
    fs::remove(older);
    CommandLogEnabled = true;
    std::wstring out;
    const size_t perCommand = 1000000;
    const size_t commands = kMaxCommandLogBytes / perCommand + 2;
    for (size_t i = 0; i < commands; ++i) DoCommand(L"$adb$ rep:1000000:" + std::to_wstring(i % 10), out, CommandLimits());
    ASSERT_TRUE(fs::exists(older));
    EXPECT_GE(fs::file_size(older), kMaxCommandLogBytes);
    EXPECT_LT(fs::file_size(log), kMaxCommandLogBytes);
    EXPECT_NE(ReadAll(log).find(std::string(perCommand, static_cast<char>('0' + (commands - 1) % 10))), std::string::npos)
        << "the last command's output is in the new log";
    // Rotated once more, the log replaces the older one: never more than two.
    for (size_t i = 0; i < commands; ++i) DoCommand(L"$adb$ rep:1000000:x", out, CommandLimits());
    EXPECT_EQ(ReadAll(older).find(std::string(1000, '0')), std::string::npos);
    fs::remove(log);
    fs::remove(older);
}

}  // namespace
