// The engine running a scripted client (fakeadb.exe in the client's place): it controls the exact
// output the engine reads and records every command line the engine ran.
#include "adb/shell_mgr.h"

#include <windows.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "adb/apk_staging.h"
#include "adb/carried_client.h"
#include "adb/process_runner.h"
#include "test_support/result_sink.h"
#include "test_support/files.h"
#include "test_support/temp_dir.h"
#include "test_support/test_programs.h"

namespace {

using namespace adb;
namespace fs = std::filesystem;
using test_support::ReadAll;
using test_support::WriteAll;

constexpr BoxAddress Box(int a, int b, int c, int d) {
    return static_cast<BoxAddress>(a | b << 8 | c << 16 | static_cast<uint32_t>(d) << 24);
}
const BoxAddress kBox = Box(10, 0, 0, 7);

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 4, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

class Engine : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(clientDir_);
        fs::create_directories(tempDir_);
        ASSERT_TRUE(CopyFileW(test_support::TestProgram(L"fakeadb.exe").c_str(), Client().c_str(), FALSE));
        SetEnvironmentVariableW(L"TMP", tempDir_.c_str());
        SetEnvironmentVariableW(L"TEMP", tempDir_.c_str());
        Rules({});
        engine_ = new CShellMgr;
        ASSERT_TRUE(engine_->Start());
        engine_->SetNotifyWindow(sink_.Handle());
    }
    void TearDown() override {
        if (engine_) engine_->Stop(10000);  // the engine releases itself on its thread
        CommandLogEnabled = false;
    }

    std::wstring Client() const { return (clientDir_ / L"adb.exe").wstring(); }
    // Gives the scripted client the mark of the client the program carries.
    void MarkAsCarriedClient() {
        const HANDLE update = BeginUpdateResourceW(Client().c_str(), FALSE);
        ASSERT_NE(update, nullptr);
        char mark[] = "test";
        ASSERT_TRUE(UpdateResourceW(update, MAKEINTRESOURCEW(10), kCarriedClientMark,
                                    MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), mark, sizeof mark));
        ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
    }
    void UseClient() { engine_->SetAdbPath(Client()); }
    void Rules(const std::vector<std::string>& rules) {
        std::string text;
        for (const auto& rule : rules) text += rule + "\n";
        WriteAll(clientDir_ / "fakeadb.rules", text);
    }
    // The command lines the client saw, in order. "start-server" is left out: it runs first, but
    // nobody waits for it, so it may write its line after the commands that follow.
    std::vector<std::string> Calls() const {
        std::vector<std::string> calls;
        std::stringstream lines(ReadAll(clientDir_ / "fakeadb.calls"));
        for (std::string line; std::getline(lines, line);)
            if (line != "start-server") calls.push_back(line);
        return calls;
    }
    size_t StartServers() const {
        const std::string all = ReadAll(clientDir_ / "fakeadb.calls");
        size_t count = 0;
        for (size_t at = all.find("start-server"); at != std::string::npos; at = all.find("start-server", at + 1)) ++count;
        return count;
    }
    const std::vector<std::unique_ptr<ShellResult>>& Results(size_t count) { return sink_.WaitFor(count); }
    // Where this test process stages its copies.
    fs::path RunFolder() const { return tempDir_ / L"mivoraapk" / RunFolderName(GetCurrentProcessId(), StartTime(GetCurrentProcess())); }
    static uint64_t StartTime(HANDLE process) {
        FILETIME created{}, exited{}, kernel{}, user{};
        GetProcessTimes(process, &created, &exited, &kernel, &user);
        return static_cast<uint64_t>(created.dwHighDateTime) << 32 | created.dwLowDateTime;
    }
    void ExpectResult(size_t i, int32_t kind, int32_t cookie, int32_t code) {
        ASSERT_LT(i, sink_.results.size());
        const ShellResult& r = *sink_.results[i];
        EXPECT_EQ(r.kind, kind) << "result " << i;
        EXPECT_EQ(r.cookie, cookie) << "result " << i;
        EXPECT_EQ(r.code, code) << "result " << i;
        EXPECT_EQ(r.ip, kBox) << "result " << i;
    }

    test_support::TempDir root_;
    const fs::path clientDir_ = root_.path() / L"adb_local";
    const fs::path tempDir_ = root_.path() / L"temp";
    test_support::ResultSink sink_;
    CShellMgr* engine_ = nullptr;
};

TEST_F(Engine, StartsTheServerOnceThenConnectsWithOrWithoutAResult) {
    Rules({"connect 10.0.0.7\tconnected to 10.0.0.7:5555^r^n", "connect 10.0.0.9\tunable to connect to 10.0.0.9:5555"});
    UseClient();
    engine_->Connect(kBox, true);
    engine_->Connect(Box(10, 0, 0, 8), false);
    engine_->Connect(Box(10, 0, 0, 9), true);
    ASSERT_EQ(Results(2).size(), 2u);
    Sleep(200);
    ASSERT_EQ(sink_.results.size(), 2u) << "a connect without notify posts nothing";
    ExpectResult(0, ShellTaskKind::Connect, static_cast<int32_t>(kBox), Connected);
    EXPECT_EQ(sink_.results[0]->output, L"connected to 10.0.0.7:5555\r\n");
    EXPECT_EQ(sink_.results[1]->ip, Box(10, 0, 0, 9));
    EXPECT_EQ(sink_.results[1]->code, NotConnected);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"connect 10.0.0.7", "connect 10.0.0.8", "connect 10.0.0.9"}));
    EXPECT_EQ(StartServers(), 1u);
}

TEST_F(Engine, NamesEveryMakeFromItsModelQuery) {
    UseClient();
    const std::pair<const char*, const wchar_t*> makes[] = {
        {"mele-build^r^nMELE_A100", L"迈乐盒子A100"}, {"ci^r^nMele M8", L"迈乐盒子"},
        {"kiui-ci^r^nK1 Plus", L"开博尔盒子"},        {"ubuntu^r^nFull AOSP on godbox", L"海美迪盒子"},
        {"letv-b3^r^nLetv S50", L"乐视盒子"},         {"ci^r^nMyGica ATV582", L"美如画盒子"},
        {"wobo^r^nI5D", L"我播盒子I5"},               {"c3-miui-ota-bd94^r^nMiBOX3", L"小米盒子"},
        {"localhost^r^nX96 Max", L"智能机顶盒"},
    };
    size_t expected = 0;
    for (const auto& [output, name] : makes) {
        Rules({std::string("getprop\t") + output});
        engine_->QueryModel(kBox);
        ASSERT_EQ(Results(++expected).size(), expected);
        const ShellResult& r = *sink_.results.back();
        EXPECT_EQ(r.kind, ShellTaskKind::QueryModel);
        EXPECT_EQ(r.cookie, static_cast<int32_t>(kBox));
        EXPECT_EQ(r.name, name) << output;
    }
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 2 * std::size(makes));
    EXPECT_EQ(calls[0], "connect 10.0.0.7");
    EXPECT_EQ(calls[1], "-s 10.0.0.7:5555 shell getprop ro.build.host;getprop ro.product.model");
}

TEST_F(Engine, ABoxJustConnectedIsQueriedWithoutAnotherConnect) {
    Rules({"connect\tconnected to 10.0.0.7:5555", "getprop\tc3-miui^r^nMiBOX3"});
    UseClient();
    engine_->Connect(kBox, true);
    ASSERT_EQ(Results(1).size(), 1u);
    engine_->QueryModel(kBox, /*justConnected=*/true);
    ASSERT_EQ(Results(2).size(), 2u);
    EXPECT_EQ(sink_.results[1]->name, L"小米盒子");
    EXPECT_EQ(Calls(), (std::vector<std::string>{"connect 10.0.0.7",
                                                 "-s 10.0.0.7:5555 shell getprop ro.build.host;getprop ro.product.model"}));
}

TEST_F(Engine, AModelQueryWithoutOutputPostsNothing) {
    Rules({"connect\tconnected"});
    UseClient();
    engine_->QueryModel(kBox);
    engine_->Connect(kBox, true);
    ASSERT_EQ(Results(1).size(), 1u);
    Sleep(200);
    ASSERT_EQ(sink_.results.size(), 1u);
    EXPECT_EQ(sink_.results[0]->kind, ShellTaskKind::Connect);
}

TEST_F(Engine, InstallsABatchInOrderFromStagedCopiesThatAreThenRemoved) {
    const fs::path apps = root_.path() / L"我的 应用";
    fs::create_directories(apps);
    const fs::path apks[] = {apps / L"a b.apk", apps / L"中文.apk", apps / L"c.apk"};
    for (int i = 0; i < 3; ++i) WriteAll(apks[i], std::string(1000 * (i + 1), static_cast<char>('A' + i)));
    Rules({"mivora_apk_0001\tPerforming Streamed Install^r^nSuccess^r^n",
           "mivora_apk_0002\tadb: failed to install x.apk: Failure [INSTALL_FAILED_ALREADY_EXISTS: Attempt to re-install]^r^n\t0\t1",
           "mivora_apk_0003\tPerforming Push Install^r^nFailure [INSTALL_FAILED_INVALID_APK]^r^n"});
    UseClient();
    engine_->Install(kBox, {{apks[0].wstring(), 11}, {apks[1].wstring(), 12}, {apks[2].wstring(), 13}});

    ASSERT_EQ(Results(6).size(), 6u);
    ExpectResult(0, ShellTaskKind::Install, 11, Started);
    ExpectResult(1, ShellTaskKind::Install, 11, Success);
    ExpectResult(2, ShellTaskKind::Install, 12, Started);
    ExpectResult(3, ShellTaskKind::Install, 12, AlreadyExists);
    ExpectResult(4, ShellTaskKind::Install, 13, Started);
    ExpectResult(5, ShellTaskKind::Install, 13, Failed);
    EXPECT_TRUE(sink_.results[0]->output.empty());
    EXPECT_EQ(sink_.results[3]->output.substr(0, 29), L"adb: failed to install x.apk:");

    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0], "connect 10.0.0.7");
    for (int i = 0; i < 3; ++i) {
        const fs::path staged = RunFolder() / StagedFileName(i + 1);
        // The copy is in place, whole, when the client runs.
        EXPECT_EQ(calls[1 + i], "-s 10.0.0.7:5555 install \"" + Utf8(staged.wstring()) + "\" [file:" +
                                    std::to_string(1000 * (i + 1)) + "]");
    }
    for (const auto& call : calls) EXPECT_EQ(call.find(Utf8(apps.wstring())), std::string::npos) << call;
    EXPECT_TRUE(fs::is_empty(RunFolder())) << "each copy goes once its install has ended";
}

TEST_F(Engine, TheCarriedClientInstallsWithoutServerOrConnectLineAndWithoutAConsole) {
    EXPECT_FALSE(IsCarriedClient(Client())) << "Google's client, or one that stands in for it";
    EXPECT_FALSE(IsCarriedClient((root_.path() / L"none.exe").wstring()));
    EXPECT_TRUE(IsCarriedClient(test_support::TestProgram(L"..\\adb.exe"))) << "the client the program carries";
    MarkAsCarriedClient();
    ASSERT_TRUE(IsCarriedClient(Client()));
    const fs::path apk = root_.path() / L"x.apk";
    WriteAll(apk, "PK 4 bytes");
    Rules({"install\tSuccess^r^n", "connect\tconnected to 10.0.0.7:5555^r^n"});
    UseClient();
    engine_->Install(kBox, {{apk.wstring(), 1}, {apk.wstring(), 2}});
    ASSERT_EQ(Results(4).size(), 4u);
    ExpectResult(1, ShellTaskKind::Install, 1, Success);
    ExpectResult(3, ShellTaskKind::Install, 2, Success);
    // Everything else it runs as before, without a console too.
    engine_->Connect(kBox, true);
    ASSERT_EQ(Results(5).size(), 5u);
    ExpectResult(4, ShellTaskKind::Connect, static_cast<int32_t>(kBox), Connected);
    Sleep(200);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 3u);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(calls[i], "-s 10.0.0.7:5555 install \"" + Utf8((RunFolder() / StagedFileName(i + 1)).wstring()) +
                                "\" [file:10] [no console]");
    EXPECT_EQ(calls[2], "connect 10.0.0.7 [no console]");
    EXPECT_EQ(StartServers(), 0u);
}

TEST_F(Engine, TheSameApkQueuedAgainIsStagedUnderANewName) {
    const fs::path apk = root_.path() / L"x.apk";
    WriteAll(apk, "PK first");
    Rules({"install\tFailure [INSTALL_FAILED_INSUFFICIENT_STORAGE]"});
    UseClient();
    engine_->Install(kBox, {{apk.wstring(), 1}});
    ASSERT_EQ(Results(2).size(), 2u);
    // Installing the failed ones again: same APK, same cookie.
    engine_->Install(kBox, {{apk.wstring(), 1}});
    ASSERT_EQ(Results(4).size(), 4u);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_NE(calls[1].find("mivora_apk_0001.apk\" [file:8]"), std::string::npos) << calls[1];
    EXPECT_NE(calls[3].find("mivora_apk_0002.apk\" [file:8]"), std::string::npos) << calls[3];
}

TEST_F(Engine, AnApkDeeperThanMaxPathIsStagedWhole) {
    fs::path folder = root_.path();
    for (int i = 0; i < 5; ++i) folder /= std::wstring(60, static_cast<wchar_t>(L'a' + i));
    const fs::path apk = LR"(\\?\)" + (folder / L"深.apk").wstring();
    ASSERT_GT(apk.wstring().size(), 300u);
    fs::create_directories(LR"(\\?\)" + folder.wstring());
    WriteAll(apk, std::string(4321, 'P'));
    Rules({"install\tSuccess^r^n"});
    UseClient();
    // Dropped paths come without the extended-length prefix.
    engine_->Install(kBox, {{(folder / L"深.apk").wstring(), 1}});
    ASSERT_EQ(Results(2).size(), 2u);
    ExpectResult(1, ShellTaskKind::Install, 1, Success);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_NE(calls[1].find("mivora_apk_0001.apk\" [file:4321]"), std::string::npos) << calls[1];
}

TEST_F(Engine, FailuresCarryTheirReasonAndProgressComesAsTheUploadGoes) {
    const fs::path apk = root_.path() / L"x.apk";
    WriteAll(apk, "PK");
    Rules({"mivora_apk_0001\tprogress: 0/2000^n^|progress: 900/2000^n^|progress: 2000/2000^nSuccess^r^n",
           "mivora_apk_0002\tadb: failed to install x.apk: Failure [INSTALL_FAILED_INSUFFICIENT_STORAGE]^r^n\t0\t1",
           "mivora_apk_0003\tadb: strange words^r^n\t0\t1"});
    UseClient();
    engine_->Install(kBox, {{apk.wstring(), 1}, {apk.wstring(), 2}, {apk.wstring(), 3}});
    ASSERT_EQ(Results(9).size(), 9u);
    ExpectResult(0, ShellTaskKind::Install, 1, Started);
    ExpectResult(1, ShellTaskKind::Install, 1, Progress);
    EXPECT_EQ(sink_.results[1]->percent, 0);
    ExpectResult(2, ShellTaskKind::Install, 1, Progress);
    EXPECT_EQ(sink_.results[2]->percent, 45);
    ExpectResult(3, ShellTaskKind::Install, 1, Progress);
    EXPECT_EQ(sink_.results[3]->percent, 100);
    ExpectResult(4, ShellTaskKind::Install, 1, Success);
    EXPECT_EQ(sink_.results[4]->output, L"Success\r\n") << "progress lines are not the client's words";
    ExpectResult(6, ShellTaskKind::Install, 2, Failed);
    EXPECT_EQ(sink_.results[6]->reason, FailureReason::StorageFull);
    ExpectResult(8, ShellTaskKind::Install, 3, Failed);
    EXPECT_EQ(sink_.results[8]->reason, FailureReason::Other);
    EXPECT_EQ(FailureText(sink_.results[8]->reason, sink_.results[8]->output), L"adb: strange words");
}

TEST_F(Engine, CancelEndsTheRunningInstallAndTheRestOfTheBatch) {
    const fs::path apk = root_.path() / L"x.apk";
    WriteAll(apk, "PK");
    Rules({"mivora_apk_0001\tprogress: 450/1000^n^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|^|Success^r^n"});
    UseClient();
    engine_->Install(kBox, {{apk.wstring(), 1}, {apk.wstring(), 2}});
    ASSERT_EQ(Results(2).size(), 2u);
    ExpectResult(1, ShellTaskKind::Install, 1, Progress);
    engine_->CancelInstalls();
    ASSERT_EQ(Results(4).size(), 4u);
    ExpectResult(2, ShellTaskKind::Install, 1, Failed);
    EXPECT_EQ(sink_.results[2]->reason, FailureReason::Cancelled);
    ExpectResult(3, ShellTaskKind::Install, 2, Failed);  // never started
    EXPECT_EQ(sink_.results[3]->reason, FailureReason::Cancelled);
    EXPECT_EQ(Calls().size(), 2u) << "the second install line never ran";
    // A batch queued after the cancel installs again.
    Rules({"install\tSuccess^r^n"});
    engine_->Install(kBox, {{apk.wstring(), 1}});
    ASSERT_EQ(Results(6).size(), 6u);
    ExpectResult(5, ShellTaskKind::Install, 1, Success);
}

TEST_F(Engine, OnlyALineThatBeginsWithSuccessFromAClientThatEndedWellIsASuccess) {
    // A failure that names a folder called "Successor", the word inside a line, a client that failed.
    const fs::path apk = root_.path() / L"x.apk";
    WriteAll(apk, "PK");
    Rules({"mivora_apk_0001\tadb: failed to install C:\\Users\\Successor\\x.apk: Failure [INSTALL_FAILED_OLDER_SDK]^r^n\t0\t1",
           "mivora_apk_0002\tPerforming Streamed Install^r^nNot a Success^r^n",
           "mivora_apk_0003\tPerforming Streamed Install^r^nSuccess^r^n\t0\t1",
           "mivora_apk_0004\t^0Success^r^n",
           "mivora_apk_0005\tPerforming Push Install^r^n^tpkg: /data/local/tmp/x.apk^r^nSuccess^r^n"});
    UseClient();
    engine_->Install(kBox, {{apk.wstring(), 1}, {apk.wstring(), 2}, {apk.wstring(), 3}, {apk.wstring(), 4}, {apk.wstring(), 5}});
    ASSERT_EQ(Results(10).size(), 10u);
    for (int i = 0; i < 4; ++i) ExpectResult(1 + 2 * i, ShellTaskKind::Install, i + 1, Failed);
    ExpectResult(9, ShellTaskKind::Install, 5, Success);
    EXPECT_EQ(sink_.results[7]->output, std::wstring(L"\0Success\r\n", 10)) << "a zero byte is kept as it came";
}

TEST_F(Engine, AnApkThatCannotBeStagedFailsWithoutRunningTheClient) {
    // A copy left at what was the staged name in earlier versions must not stand in for it.
    const fs::path staging = tempDir_ / L"mivoraapk";
    fs::create_directories(staging);
    WriteAll(staging / StagedFileName(1), "stale one");
    Rules({"install\tSuccess"});
    UseClient();
    engine_->Install(kBox, {{(root_.path() / L"gone.apk").wstring(), 1}, {root_.path().wstring(), 2}});
    ASSERT_EQ(Results(4).size(), 4u);
    ExpectResult(0, ShellTaskKind::Install, 1, Started);
    ExpectResult(1, ShellTaskKind::Install, 1, Failed);
    ExpectResult(2, ShellTaskKind::Install, 2, Started);
    ExpectResult(3, ShellTaskKind::Install, 2, Failed);
    EXPECT_EQ(Calls(), std::vector<std::string>{"connect 10.0.0.7"}) << "no install line ran";
}

// The id of a running process of that name, 0 when there is none.
DWORD ProcessNamed(const wchar_t* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, name) == 0) found = entry.th32ProcessID;
    CloseHandle(snapshot);
    return found;
}

TEST_F(Engine, WhatEarlierRunsLeftIsRemovedAtStartUp) {
    const fs::path staging = tempDir_ / L"mivoraapk";
    fs::create_directories(staging);
    WriteAll(staging / StagedFileName(1), "left by an earlier version");
    const fs::path ended = staging / RunFolderName(1, 1);
    WriteAll(ended / StagedFileName(3), "left by an earlier run");
    WriteAll(staging / L"notes.txt", "not ours");
    // A run going on beside this one keeps its copy: any other live process will do, and one the
    // system keeps running (services.exe, under Windows and Wine alike) needs no child of the test,
    // which under Wine could hold the test runner's output open after the test.
    const DWORD running = ProcessNamed(L"services.exe");
    ASSERT_NE(running, 0u);
    const HANDLE other = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, running);
    ASSERT_NE(other, nullptr);
    const fs::path going = staging / RunFolderName(running, StartTime(other));
    CloseHandle(other);
    WriteAll(going / StagedFileName(1), "being installed");

    UseClient();
    const DWORD start = GetTickCount();
    while (fs::exists(ended) && GetTickCount() - start < 10000) Sleep(20);
    EXPECT_FALSE(fs::exists(ended));
    EXPECT_FALSE(fs::exists(staging / StagedFileName(1)));
    EXPECT_EQ(ReadAll(going / StagedFileName(1)), "being installed");
    EXPECT_EQ(ReadAll(staging / L"notes.txt"), "not ours");
}

TEST_F(Engine, LongListingsArriveWholeAndDeviceListingsTwice) {
    std::string listing;
    for (int i = 0; listing.size() < 20000; ++i)
        listing += "package:/data/app/com.example.app" + std::to_string(i) + "-1/base.apk=com.example.app" + std::to_string(i) + "\r\n";
    WriteAll(clientDir_ / "packages.txt", listing);
    Rules({"pm list packages\t@packages.txt", "devices\tList of devices attached^r^n10.0.0.7:5555^tdevice^r^n"});
    UseClient();
    engine_->ListPackages(kBox);
    engine_->ListDevices(kBox);
    ASSERT_EQ(Results(2).size(), 2u);
    EXPECT_EQ(sink_.results[0]->kind, ShellTaskKind::ListPackages);
    EXPECT_EQ(Utf8(sink_.results[0]->output), listing);
    EXPECT_EQ(sink_.results[1]->kind, ShellTaskKind::ListDevices);
    const std::wstring once = L"List of devices attached\r\n10.0.0.7:5555\tdevice\r\n";
    EXPECT_EQ(sink_.results[1]->output, once + once);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[1], "-s 10.0.0.7:5555 shell pm list packages -f");
    EXPECT_EQ(calls[3], "devices");
    EXPECT_EQ(calls[4], "devices");
}

TEST_F(Engine, UninstallNamesThePackageUnquotedAndReportsOnlyItsOutcome) {
    Rules({"uninstall\tSuccess"});
    UseClient();
    engine_->Uninstall(Box(192, 168, 1, 20), {{L"com.example.app", 42}});
    ASSERT_EQ(Results(1).size(), 1u);
    // No Started notice: nothing is installed.
    EXPECT_EQ(sink_.results[0]->kind, ShellTaskKind::Uninstall);
    EXPECT_EQ(sink_.results[0]->code, Success);
    EXPECT_EQ(sink_.results[0]->cookie, 42);
    EXPECT_EQ(Calls().back(), "-s 192.168.1.20:5555 uninstall com.example.app");
    Sleep(200);
    EXPECT_EQ(sink_.results.size(), 1u);
}

TEST_F(Engine, WithoutAClientOnlyInstallsReport) {
    engine_->SetAdbPath(L"");
    const fs::path apk = root_.path() / L"x.apk";
    WriteAll(apk, "PK");
    engine_->Connect(kBox, true);
    engine_->Install(kBox, {{apk.wstring(), 1}});
    ASSERT_EQ(Results(2).size(), 2u);
    ExpectResult(0, ShellTaskKind::Install, 1, Started);
    ExpectResult(1, ShellTaskKind::Install, 1, Failed);
    EXPECT_FALSE(engine_->PostTask(kNoBox, L"$adb$ devices", 0, ShellTaskKind::ListDevices, true));
}

TEST_F(Engine, CommandLogRecordsStartServerAndEachCommand) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const fs::path log = fs::path(self).replace_extension(L".log");
    fs::remove(log);
    CommandLogEnabled = true;
    Rules({"connect\tconnected to 10.0.0.7:5555"});
    UseClient();
    engine_->Connect(kBox, true);
    ASSERT_EQ(Results(1).size(), 1u);
    const std::string text = ReadAll(log);
    const size_t before = text.find("<-----before start-server\r\n");
    const size_t after = text.find("----->after start-server\r\n", before);
    const size_t command = text.find("<-----before DoCommand $adb$ connect 10.0.0.7\r\n", after);
    const size_t output = text.find("connected to 10.0.0.7:5555", command);
    const size_t done = text.find("----->after time=", output);
    EXPECT_NE(before, std::string::npos) << text;
    EXPECT_NE(after, std::string::npos) << text;
    EXPECT_NE(command, std::string::npos) << text;
    EXPECT_NE(output, std::string::npos) << text;
    EXPECT_NE(done, std::string::npos) << text;
    fs::remove(log);
}

bool ClientRunning() { return ProcessNamed(L"adb.exe") != 0; }

TEST_F(Engine, AStalledClientDoesNotHoldUpTheStopRequest) {
    Rules({"connect\tconnected\t4000"});
    UseClient();
    engine_->Connect(kBox, true);
    const DWORD start = GetTickCount();
    while (Calls().empty() && GetTickCount() - start < 10000) Sleep(20);
    ASSERT_EQ(Calls().size(), 1u);
    CShellMgr* engine = engine_;
    engine_ = nullptr;
    EXPECT_TRUE(engine->Stop(200));
    EXPECT_TRUE(ClientRunning()) << "Stop returned while the client still ran";
    EXPECT_TRUE(sink_.results.empty());
    while (ClientRunning() && GetTickCount() - start < 15000) Sleep(50);
}

}  // namespace
