// The client's command line, the addresses and lists it keeps, the commands it sends a box and the
// texts it prints.
#include <gtest/gtest.h>

#include "adb/client/client_arguments.h"
#include "adb/client/client_texts.h"
#include "adb/client/endpoint.h"
#include "adb/client/known_devices.h"
#include "adb/client/remote_commands.h"
#include "adb/client/time_limits.h"

namespace {

using namespace adb::client;

ParsedArguments Parse(std::vector<std::string> arguments) { return ParseArguments(arguments); }

TEST(ClientArguments, TheProgramsCommandLines) {
    // As the engine forms them, split the way Windows splits a command line.
    ParsedArguments connect = Parse({"connect", "192.168.1.20"});
    EXPECT_EQ(connect.error, "");
    EXPECT_EQ(connect.command.kind, CommandKind::kConnect);
    EXPECT_EQ(connect.command.argument, "192.168.1.20");

    ParsedArguments query =
        Parse({"-s", "10.0.0.7:5555", "shell", "getprop", "ro.build.host;getprop", "ro.product.model"});
    EXPECT_EQ(query.command.kind, CommandKind::kShell);
    EXPECT_EQ(query.command.serial, "10.0.0.7:5555");
    EXPECT_EQ(query.command.argument, "getprop ro.build.host;getprop ro.product.model");

    ParsedArguments install = Parse({"-s", "192.168.1.20:5555", "install", "D:\\T\\mivoraapk\\mivora_apk_0003.apk"});
    EXPECT_EQ(install.command.kind, CommandKind::kInstall);
    EXPECT_EQ(install.command.argument, "D:\\T\\mivoraapk\\mivora_apk_0003.apk");
    EXPECT_FALSE(install.command.replace);
    ParsedArguments replace = Parse({"-s", "h:5555", "install", "-r", "C:\\下载\\my app.apk"});
    EXPECT_TRUE(replace.command.replace);
    EXPECT_EQ(replace.command.argument, "C:\\下载\\my app.apk");

    ParsedArguments uninstall = Parse({"-s", "192.168.1.20:5555", "uninstall", "com.example.app"});
    EXPECT_EQ(uninstall.command.kind, CommandKind::kUninstall);
    EXPECT_EQ(uninstall.command.argument, "com.example.app");

    for (const auto& [word, kind] : {std::pair{"start-server", CommandKind::kStartServer},
                                     {"kill-server", CommandKind::kKillServer}, {"devices", CommandKind::kDevices},
                                     {"version", CommandKind::kVersion}, {"help", CommandKind::kHelp}}) {
        const ParsedArguments parsed = Parse({word});
        EXPECT_EQ(parsed.error, "") << word;
        EXPECT_EQ(parsed.command.kind, kind) << word;
    }
    EXPECT_EQ(Parse({"disconnect"}).command.argument, "");
    EXPECT_EQ(Parse({"-s", "a:1", "-s", "b:2", "shell", "ls"}).command.serial, "b:2");
}

TEST(ClientArguments, WhatIsNotUnderstoodIsSaid) {
    EXPECT_EQ(Parse({}).error, "adb: no command given; 'adb help' lists the commands");
    EXPECT_EQ(Parse({"frobnicate"}).error, "adb: unknown command frobnicate");
    EXPECT_EQ(Parse({"-x", "devices"}).error, "adb: unknown option -x");
    EXPECT_EQ(Parse({"-s"}).error, "adb: -s requires an argument");
    EXPECT_EQ(Parse({"connect"}).error, "adb: usage: adb connect <host>[:<port>]");
    EXPECT_EQ(Parse({"connect", "a", "b"}).error, "adb: usage: adb connect <host>[:<port>]");
    EXPECT_EQ(Parse({"shell"}).error, "adb: usage: adb shell <command>");
    EXPECT_EQ(Parse({"install"}).error, "adb: usage: adb install [-r] <file.apk>");
    EXPECT_EQ(Parse({"install", "-r"}).error, "adb: usage: adb install [-r] <file.apk>");
    EXPECT_EQ(Parse({"install", "a.apk", "b.apk"}).error, "adb: usage: adb install [-r] <file.apk>");
    EXPECT_EQ(Parse({"install", "-g", "a.apk"}).error, "adb: usage: adb install [-r] <file.apk>");
    EXPECT_EQ(Parse({"install", "-d"}).error, "adb: unknown install option -d (only -r is understood)");
    EXPECT_EQ(Parse({"devices", "-l"}).error, "adb: usage: adb devices");
}

TEST(Endpoint, HostsPortsAndSerials) {
    const auto bare = ParseEndpoint("192.168.1.20");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->host, "192.168.1.20");
    EXPECT_EQ(bare->Serial(), "192.168.1.20:5555");
    const auto given = ParseEndpoint("box.local:5037");
    ASSERT_TRUE(given);
    EXPECT_EQ(given->host, "box.local");
    EXPECT_EQ(given->port, 5037);
    EXPECT_EQ(ParseEndpoint("h:65535")->port, 65535);
    for (const char* bad : {"", ":5555", "h:", "h:0", "h:65536", "h:12a", "h:-1", "h:123456"}) {
        EXPECT_FALSE(ParseEndpoint(bad)) << bad;
    }
}

TEST(KnownDevices, ListFileTextAddRemove) {
    KnownDevices devices = KnownDevices::FromText("  10.0.0.7:5555\r\n\n10.0.0.8:5555\n10.0.0.7:5555\n");
    EXPECT_EQ(devices.Serials(), (std::vector<std::string>{"10.0.0.7:5555", "10.0.0.8:5555"}));
    EXPECT_FALSE(devices.Add("10.0.0.8:5555"));
    EXPECT_TRUE(devices.Add("10.0.0.9:5555"));
    EXPECT_TRUE(devices.Remove("10.0.0.7:5555"));
    EXPECT_FALSE(devices.Remove("10.0.0.7:5555"));
    EXPECT_TRUE(devices.Contains("10.0.0.9:5555"));
    EXPECT_EQ(devices.Text(), "10.0.0.8:5555\n10.0.0.9:5555\n");
    EXPECT_EQ(KnownDevices::FromText(devices.Text()).Serials(), devices.Serials());
    devices.Clear();
    EXPECT_EQ(devices.Text(), "");
}

TEST(RemoteCommands, ServicesAndQuoting) {
    EXPECT_EQ(ShellQuote("plain"), "'plain'");
    EXPECT_EQ(ShellQuote("it's a b;c"), "'it'\\''s a b;c'");
    EXPECT_EQ(ShellService("getprop ro.product.model", true), "shell,v2,raw:getprop ro.product.model");
    EXPECT_EQ(ShellService("getprop ro.product.model", false), "shell:getprop ro.product.model");
    EXPECT_EQ(StreamedInstallService(104857600, false), "exec:cmd package install -S 104857600");
    EXPECT_EQ(StreamedInstallService(5, true), "exec:cmd package install -r -S 5");
    EXPECT_EQ(PushInstallTarget("D:\\T\\mivoraapk\\mivora_apk_0003.apk"), "/data/local/tmp/mivora_apk_0003.apk");
    EXPECT_EQ(PushInstallTarget("Z:/home/u/已装 app.apk"), "/data/local/tmp/已装 app.apk");
    EXPECT_EQ(PushInstallTarget("bare.apk"), "/data/local/tmp/bare.apk");
    EXPECT_EQ(PmInstallCommand("/data/local/tmp/a b.apk", false), "pm install '/data/local/tmp/a b.apk'");
    EXPECT_EQ(PmInstallCommand("/data/local/tmp/x.apk", true), "pm install -r '/data/local/tmp/x.apk'");
    EXPECT_EQ(RemoveFileCommand("/data/local/tmp/it's.apk"), "rm -f '/data/local/tmp/it'\\''s.apk'");
    EXPECT_EQ(UninstallCommand("com.example.app", true), "cmd package uninstall 'com.example.app'");
    EXPECT_EQ(UninstallCommand("com.example.app", false), "pm uninstall 'com.example.app'");
}

// The program reads "connected" anywhere in a connect's output as success.
TEST(ClientTexts, NoFailureSaysConnected) {
    std::vector<std::string> reasons;
    for (LinkStatus::Kind kind : {LinkStatus::kClosed, LinkStatus::kTimedOut, LinkStatus::kNotAdb,
                                  LinkStatus::kRefused, LinkStatus::kStreamEnded}) {
        reasons.push_back(texts::LinkReason({kind, 10000}));
    }
    for (uint32_t code = 10000; code < 11100; ++code) reasons.push_back(texts::SocketErrorText(code));
    for (uint32_t code = 0; code < 200; ++code) reasons.push_back(texts::FileErrorText(code));
    const std::string serial = "192.168.1.20:5555";
    for (const std::string& reason : reasons) {
        for (const std::string& text :
             {texts::FailedToConnect(serial, reason), texts::CannotConnect(serial, reason),
              texts::CannotResolve("box", reason), texts::DeviceOffline(serial, reason), texts::CommandFailed(reason),
              texts::FailedToInstall("x.apk", reason), texts::FailedToCopy("x.apk", "/data/local/tmp/x.apk", reason),
              texts::DeviceUnreachable(serial, reason),
              texts::FailedToStat("x.apk", reason)}) {
            std::string lower = text;
            for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            EXPECT_EQ(lower.find("connected"), std::string::npos) << text;
            EXPECT_EQ(lower.find("success"), std::string::npos) << text;
        }
    }
    for (const std::string& text : {texts::FailedToAuthenticate(serial), texts::DeviceUnauthorized(),
                                    texts::NoSuchDevice(serial), texts::DeviceNotFound(serial), texts::NoDevices(),
                                    texts::MoreThanOneDevice(), texts::BadAddress("x:y")}) {
        EXPECT_EQ(text.find("connected"), std::string::npos) << text;
    }
    EXPECT_NE(texts::ConnectedTo(serial).find("connected"), std::string::npos);
    EXPECT_NE(texts::AlreadyConnectedTo(serial).find("connected"), std::string::npos);
}

TEST(ClientTexts, ReasonsNameWhatHappened) {
    EXPECT_EQ(texts::SocketErrorText(10061),
              "No connection could be made because the target machine actively refused it. (10061)");
    EXPECT_EQ(texts::SocketErrorText(12345), "Windows socket error 12345");
    EXPECT_EQ(texts::LinkReason({LinkStatus::kTimedOut, kHandshakeLimitMs}), "the box did not answer within 10 s");
    EXPECT_EQ(texts::LinkReason({LinkStatus::kNetworkError, 10054}),
              "An existing connection was forcibly closed by the remote host. (10054)");
    EXPECT_EQ(texts::FileErrorText(2), "No such file or directory");
    EXPECT_EQ(texts::FileErrorText(5), "Permission denied");
    EXPECT_EQ(texts::FileErrorText(1392), "Windows error 1392");
}

TEST(ClientTexts, PushSummaryAsGooglesClientWritesIt) {
    EXPECT_EQ(texts::Pushed("a.apk", 104857600, 2000),
              "a.apk: 1 file pushed, 0 skipped. 50.0 MB/s (104857600 bytes in 2.000s)\n");
    EXPECT_EQ(texts::Pushed("a.apk", 419, 3), "a.apk: 1 file pushed, 0 skipped. 0.1 MB/s (419 bytes in 0.003s)\n");
    // Too quick to measure: no division by zero, a rate all the same.
    EXPECT_EQ(texts::Pushed("b.apk", 3145728, 0),
              "b.apk: 1 file pushed, 0 skipped. 3000.0 MB/s (3145728 bytes in 0.000s)\n");
}

}  // namespace
