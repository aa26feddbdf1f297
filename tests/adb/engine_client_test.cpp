// The engine with a real ADB client against simulated TV boxes, inside a lab network (started by
// engine_client_test.py, which also prepares the boxes and APKs and then checks the boxes' state).
#include <windows.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "adb/app_commands.h"
#include "adb/child_limits.h"
#include "adb/client/time_limits.h"
#include "adb/shell_mgr.h"
#include "test_support/result_sink.h"

namespace {

using namespace adb;

std::wstring Env(const wchar_t* name) {
    wchar_t value[2048] = {};
    GetEnvironmentVariableW(name, value, 2048);
    return value;
}

BoxAddress Parse(const std::wstring& dotted) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    swscanf(dotted.c_str(), L"%u.%u.%u.%u", &a, &b, &c, &d);
    return a | b << 8 | c << 16 | d << 24;
}

class EngineWithClient : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Env(L"MIVORA_CLIENT").empty()) << "run through engine_client_test.py";
        engine_ = new CShellMgr;
        ASSERT_TRUE(engine_->Start());
        engine_->SetNotifyWindow(sink_.Handle());
        engine_->SetAdbPath(Env(L"MIVORA_CLIENT"));
        sink_.countProgressOnly = true;
    }
    void TearDown() override {
        if (engine_) engine_->Stop(30000);
    }
    std::wstring Apk(const wchar_t* name) { return Env(L"MIVORA_APK_DIR") + L"\\" + name; }

    test_support::ResultSink sink_;
    CShellMgr* engine_ = nullptr;
};

TEST_F(EngineWithClient, ConnectsAndNamesEveryMake) {
    // The lab serves one box per make at 127.0.0.10 and up, in this order.
    const wchar_t* names[] = {L"迈乐盒子A100", L"迈乐盒子", L"开博尔盒子", L"海美迪盒子", L"乐视盒子",
                              L"美如画盒子",  L"我播盒子I5", L"小米盒子",  L"智能机顶盒"};
    for (int i = 0; i < 9; ++i) {
        const BoxAddress box = Parse(L"127.0.0." + std::to_wstring(10 + i));
        engine_->Connect(box, true);
        engine_->QueryModel(box);
    }
    ASSERT_EQ(sink_.WaitFor(18, 120000).size(), 18u);
    for (int i = 0; i < 9; ++i) {
        const ShellResult& connect = *sink_.results[2 * i];
        const ShellResult& model = *sink_.results[2 * i + 1];
        EXPECT_EQ(connect.kind, ShellTaskKind::Connect);
        EXPECT_EQ(connect.code, Connected) << connect.output.c_str();
        EXPECT_EQ(model.kind, ShellTaskKind::QueryModel);
        EXPECT_EQ(model.name, names[i]) << "box " << i << ": " << std::string(model.output.begin(), model.output.end());
    }
}

TEST_F(EngineWithClient, InstallsABatchOnAnOlderBoxInOrder) {
    const BoxAddress box = Parse(Env(L"MIVORA_OLD_BOX"));
    engine_->Install(box, {{Apk(L"good app.apk"), 1}, {Apk(L"已装.apk"), 2}, {Apk(L"corrupt.apk"), 3}});
    ASSERT_EQ(sink_.WaitFor(6, 120000).size(), 6u);
    const int32_t expected[][2] = {{1, Started}, {1, Success},       {2, Started},
                                   {2, AlreadyExists}, {3, Started}, {3, Failed}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(sink_.results[i]->cookie, expected[i][0]) << i;
        EXPECT_EQ(sink_.results[i]->code, expected[i][1])
            << i << ": " << std::string(sink_.results[i]->output.begin(), sink_.results[i]->output.end());
    }
}

TEST_F(EngineWithClient, ANewerBoxTakesTheStreamedInstall) {
    const BoxAddress box = Parse(Env(L"MIVORA_NEW_BOX"));
    engine_->Install(box, {{Apk(L"good app.apk"), 11}});
    ASSERT_EQ(sink_.WaitFor(2, 120000).size(), 2u);
    EXPECT_EQ(sink_.results[1]->code, Success);
    EXPECT_NE(sink_.results[1]->output.find(L"Streamed"), std::wstring::npos);
    // Our client tells how far the upload has come (a small APK's lines may come in one piece,
    // one notice); Google's client tells nothing of the kind.
    if (Env(L"MIVORA_CLIENT_KIND") == L"own") {
        EXPECT_GE(sink_.progressNotices, 1u);
    }
}

// Each box fails the install its own way; the reason the engine gives is the one a user can act on.
TEST_F(EngineWithClient, EachFailureCarriesItsReason) {
    const struct {
        const wchar_t* box;
        const wchar_t* apk;
        FailureReason reason;
    } cases[] = {
        {L"MIVORA_OLD_BOX", L"needs android 8.apk", FailureReason::AndroidTooOld},
        {L"MIVORA_OLD_BOX", L"corrupt.apk", FailureReason::InvalidPackage},
        {L"MIVORA_FULL_BOX", L"half.apk", FailureReason::StorageFull},
        {L"MIVORA_UNAUTHORIZED_BOX", L"good app.apk", FailureReason::Unauthorized},
        // Google's client says only that the install failed, after what the box had said so far:
        // then the reason is that last line.
        {L"MIVORA_DROPPING_BOX", L"half.apk",
         Env(L"MIVORA_CLIENT_KIND") == L"own" ? FailureReason::ConnectionLost : FailureReason::Other},
    };
    int32_t cookie = 0;
    for (const auto& c : cases) {
        const size_t before = sink_.results.size();
        engine_->Install(Parse(Env(c.box)), {{Apk(c.apk), ++cookie}});
        ASSERT_EQ(sink_.WaitFor(before + 2, 180000).size(), before + 2) << c.apk;
        const ShellResult& result = *sink_.results.back();
        const std::string output(result.output.begin(), result.output.end());
        EXPECT_EQ(result.code, Failed) << c.apk << ": " << output;
        EXPECT_EQ(result.reason, c.reason) << c.apk << " on " << std::string(c.box, c.box + wcslen(c.box)) << ": " << output;
    }
}

// Hosts that answer the handshake and then hold whatever they are asked: the engine must go on to
// the next box's task within its limits, keeping at most its share of what they send.
TEST_F(EngineWithClient, HostileBoxesDoNotHoldTheQueue) {
    const BoxAddress good = Parse(Env(L"MIVORA_NEW_BOX"));
    const struct {
        const wchar_t* box;
        DWORD withinMs;  // what ends the query, with room for a loaded machine
    } hostile[] = {
        {L"MIVORA_FLOOD_BOX", 30'000},                         // the program's output cap
        {L"MIVORA_HANG_BOX", client::kTransferLimitMs + 30'000},  // the client's wait for the service
        {L"MIVORA_TRICKLE_BOX", kCommandLimitMs + 30'000},     // the program's limit on a command
    };
    for (const auto& [name, withinMs] : hostile) {
        const BoxAddress box = Parse(Env(name));
        const size_t before = sink_.results.size();
        // As the main window asks: a connect, the model query of the box it connected, then the
        // next box's connect.
        engine_->Connect(box, true);
        engine_->QueryModel(box, /*justConnected=*/true);
        engine_->Connect(good, true);
        const DWORD start = GetTickCount();
        ASSERT_EQ(sink_.WaitFor(before + 3, withinMs + 60'000).size(), before + 3) << "held by " << name;
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_LT(elapsed, withinMs) << name;
        const ShellResult& query = *sink_.results[before + 1];
        const ShellResult& next = *sink_.results[before + 2];
        EXPECT_EQ(query.kind, ShellTaskKind::QueryModel) << name;
        EXPECT_LE(query.output.size(), kMaxCapturedOutput) << name;
        EXPECT_EQ(next.ip, good) << name;
        EXPECT_EQ(next.code, Connected) << name;
    }

    // A box that answers each megabyte of an upload with sixteen: the install fails, soon.
    const size_t before = sink_.results.size();
    const DWORD start = GetTickCount();
    engine_->Install(Parse(Env(L"MIVORA_FLOOD_UPLOAD_BOX")), {{Apk(L"eight.apk"), 21}});
    ASSERT_EQ(sink_.WaitFor(before + 2, 120'000).size(), before + 2);
    EXPECT_EQ(sink_.results.back()->code, Failed);
    EXPECT_LT(GetTickCount() - start, 60'000u);
}

TEST_F(EngineWithClient, AStallingBoxDoesNotHoldUpTheStopRequest) {
    engine_->Connect(Parse(Env(L"MIVORA_STALL_BOX")), true);
    Sleep(500);  // the client is now waiting on the box
    CShellMgr* engine = engine_;
    engine_ = nullptr;
    const DWORD start = GetTickCount();
    EXPECT_TRUE(engine->Stop(200));
    EXPECT_LT(GetTickCount() - start, 5000u) << "Stop waited for the stalled client";
    EXPECT_TRUE(sink_.results.empty());
}

// The boxes carry a dozen apps placed before they started (com.example.app000 to app011): on the
// Android 4.2 box flat APKs and no "cmd", on the Android 9 box app003 with a split APK.
const InstalledApp* Find(const std::vector<InstalledApp>& apps, const wchar_t* package) {
    for (const InstalledApp& app : apps)
        if (app.package == package) return &app;
    return nullptr;
}

TEST_F(EngineWithClient, ListsTheAppsOfOldAndNewBoxesThenTheirSizes) {
    for (const wchar_t* which : {L"MIVORA_OLD_BOX", L"MIVORA_NEW_BOX"}) {
        sink_.results.clear();
        const bool newBox = std::wstring(which) == L"MIVORA_NEW_BOX";
        // A box the client no longer knows (Google's forgets them all when its server restarts)
        // is connected again for the listing.
        engine_->Disconnect(Parse(Env(which)));
        engine_->ListApps(Parse(Env(which)));
        ASSERT_EQ(sink_.WaitFor(2, 120000).size(), 2u) << which;
        EXPECT_EQ(sink_.results[0]->code, AppsListed);
        EXPECT_EQ(sink_.results[1]->code, AppsSized);
        const std::vector<InstalledApp>& apps = sink_.results[1]->apps;
        size_t own = 0;
        for (const InstalledApp& app : apps) own += !app.system && app.package.starts_with(L"com.example.app");
        EXPECT_EQ(own, 12u) << which;
        const InstalledApp* first = Find(apps, L"com.example.app000");
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->label, newBox ? L"电视直播" : L"") << "old boxes cannot tell a label";
        EXPECT_FALSE(first->versionName.empty());
        EXPECT_EQ(first->updated.size(), 19u) << "YYYY-MM-DD HH:MM:SS";
        EXPECT_GT(first->bytes, 8000u);
        EXPECT_EQ(first->launchable, newBox ? std::optional<bool>(true) : std::nullopt);
        const InstalledApp* split = Find(apps, L"com.example.app003");
        ASSERT_NE(split, nullptr);
        EXPECT_EQ(split->apkPaths.size(), newBox ? 2u : 1u);
        const InstalledApp* settings = Find(apps, L"com.android.settings");
        ASSERT_NE(settings, nullptr);
        EXPECT_TRUE(settings->system);
    }
}

TEST_F(EngineWithClient, OpensAnAppOnTheTvAndSaysWhenItCannot) {
    const BoxAddress box = Parse(Env(L"MIVORA_NEW_BOX"));
    engine_->OpenApp(box, L"com.example.app000", 1);
    engine_->OpenApp(box, L"com.example.nothing", 2);
    EXPECT_FALSE(engine_->OpenApp(box, L"x;reboot", 3)) << "a name that is no package is never sent";
    ASSERT_EQ(sink_.WaitFor(2, 120000).size(), 2u);
    EXPECT_EQ(sink_.results[0]->code, Success);
    EXPECT_EQ(sink_.results[1]->code, Failed);
}

TEST_F(EngineWithClient, UninstallsAndTellsARefusal) {
    const BoxAddress box = Parse(Env(L"MIVORA_NEW_BOX"));
    // The box's device policy keeps app002 (the lab starts it so).
    engine_->Uninstall(box, {{L"com.example.app001", 1}, {L"com.example.app002", 2}});
    ASSERT_EQ(sink_.WaitFor(2, 120000).size(), 2u);
    EXPECT_EQ(sink_.results[0]->code, Success);
    EXPECT_NE(sink_.results[1]->code, Success);
    EXPECT_NE(sink_.results[1]->output.find(L"DELETE_FAILED"), std::wstring::npos);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST_F(EngineWithClient, ExportsOneApkAsAFileAndSplitsAsAFolderAndNothingThatWouldNotFit) {
    const std::wstring folder = Env(L"MIVORA_EXPORT_DIR");
    const BoxAddress oldBox = Parse(Env(L"MIVORA_OLD_BOX")), newBox = Parse(Env(L"MIVORA_NEW_BOX"));
    engine_->ExportApp(oldBox, {L"com.example.app000", folder, L"电视直播_1.0", 0, {}}, 1);
    // Paths of a listing made before the app was updated: the box is asked where it is now.
    engine_->ExportApp(oldBox, {L"com.example.app000", folder, L"电视直播_1.0", 0, {L"/data/app/com.example.app000-7.apk"}}, 2);
    engine_->ExportApp(newBox, {L"com.example.app003", folder, L"split", 0, {}}, 3);
    engine_->ExportApp(newBox, {L"com.example.app004", folder, L"huge", 1ull << 60, {}}, 4);
    engine_->ExportApp(newBox, {L"com.example.nothing", folder, L"none", 0, {}}, 5);
    ASSERT_EQ(sink_.WaitFor(5, 240000).size(), 5u);
    EXPECT_EQ(sink_.results[0]->code, Success);
    EXPECT_EQ(sink_.results[0]->path, folder + L"\\电视直播_1.0.apk");
    EXPECT_EQ(sink_.results[1]->path, folder + L"\\电视直播_1.0 (2).apk") << "a second copy takes the next name";
    EXPECT_EQ(sink_.results[1]->code, Success) << std::string(sink_.results[1]->output.begin(), sink_.results[1]->output.end());
    EXPECT_EQ(sink_.results[2]->code, Success);
    EXPECT_EQ(sink_.results[2]->path, folder + L"\\split");
    EXPECT_TRUE(Exists(folder + L"\\split\\base.apk"));
    EXPECT_TRUE(Exists(folder + L"\\split\\split_config.armeabi_v7a.apk"));
    EXPECT_EQ(sink_.results[3]->code, Failed);
    EXPECT_NE(sink_.results[3]->output.find(L"No space left"), std::wstring::npos);
    EXPECT_EQ(sink_.results[4]->code, Failed);
    EXPECT_TRUE(sink_.results[4]->path.empty());
    EXPECT_FALSE(Exists(folder + L"\\huge.apk"));
    EXPECT_FALSE(Exists(folder + L"\\.huge.part"));
    EXPECT_FALSE(Exists(folder + L"\\.none.part")) << "no working folder is left behind";
}

}  // namespace
