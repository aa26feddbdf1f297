// The platform-free transport against real simulated boxes over loopback sockets, in the native
// build (so under the sanitizers): handshakes with and without trust, streams, refusals, faults.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "adb/client/android_public_key.h"
#include "adb/client/pem.h"
#include "adb/client/remote_shell.h"
#include "adb/client/rsa_key.h"
#include "adb/client/shell_v2_reader.h"
#include "adb/client/test_keys.h"
#include "adb/client/time_limits.h"
#include "adb/client/transport.h"
#include "posix_channel.h"
#include "simulated_box.h"

namespace {

using namespace adb::client;
using test_support::PosixChannel;
using test_support::SimulatedBox;

// A key whose signatures never verify (the native build has no RSA), with a real public key to
// offer: what a box sees from a host it does not know yet.
class UnknownKey : public AuthKey {
public:
    UnknownKey() {
        const auto key = DecodePrivateKey(PemDecode(test_keys::kPkcs8)->der);
        line_ = AndroidPublicKeyLine(*AndroidPublicKeyBlob(key->modulus, key->publicExponent), "test@native");
    }
    std::optional<Bytes> Sign(std::span<const uint8_t>) override {
        ++signatures;
        return Bytes(256, 0x42);
    }
    std::string PublicKeyLine() const override { return line_; }
    int signatures = 0;

private:
    std::string line_;
};

// Everything the box writes on the open stream, until it closes it.
std::string ReadToEnd(Transport& transport) {
    std::string text;
    Bytes data;
    LinkStatus status;
    const Deadline deadline = Deadline::In(kResultLimitMs);
    while ((status = transport.Read(data, deadline))) text += AsText(data);
    EXPECT_EQ(status.kind, LinkStatus::kStreamEnded);
    return text;
}

class TransportTest : public ::testing::Test {
protected:
    // Connects the channel to box; the transport is ready for its handshake.
    Transport& Over(const SimulatedBox& box) {
        EXPECT_NE(box.port(), 0) << "the box did not start";
        channel_ = std::make_unique<PosixChannel>(box.port());
        EXPECT_TRUE(channel_->connected());
        transport_ = std::make_unique<Transport>(*channel_);
        return *transport_;
    }
    std::unique_ptr<PosixChannel> channel_;
    std::unique_ptr<Transport> transport_;
};

TEST_F(TransportTest, HandshakeTellsTheKindOfBox) {
    for (const auto& [profile, features] : {std::pair{"mele", 0u}, {"mibox", 2u}}) {
        SimulatedBox box(profile);
        Transport& transport = Over(box);
        const HandshakeResult result = transport.Handshake(nullptr, false);
        EXPECT_EQ(result.outcome, HandshakeOutcome::kOnline) << profile;
        EXPECT_EQ(transport.Banner().kind, "device");
        EXPECT_EQ(transport.Banner().features.size(), features) << profile;
        EXPECT_EQ(transport.Banner().Has("cmd"), features > 0);
    }
}

TEST_F(TransportTest, ShellStreamsOneAfterAnother) {
    SimulatedBox box("mibox");
    Transport& transport = Over(box);
    ASSERT_EQ(transport.Handshake(nullptr, false).outcome, HandshakeOutcome::kOnline);
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(transport.Open("shell,v2,raw:getprop ro.build.host;getprop ro.product.model"));
        const std::string framed = ReadToEnd(transport);
        ShellV2Reader reader;
        EXPECT_EQ(reader.Feed(AsBytes(framed)).out, "c3-miui-ota-bd98.bj\nMIBOX4\n");
        EXPECT_EQ(reader.ExitStatus(), 0);
    }
    EXPECT_EQ(transport.Open("reboot:").kind, LinkStatus::kRefused);
    ASSERT_TRUE(transport.Open("shell:echo still here"));
    EXPECT_EQ(ReadToEnd(transport), "still here\n");
}

TEST_F(TransportTest, AStreamedInstallInMessagesOfTheBoxsSize) {
    SimulatedBox box("mibox");
    test_support::TempDir work;
    const auto apk = work.path() / "app.apk";
    const std::string make = "/usr/bin/python3 " MIVORA_SOURCE_DIR "/tools/boxsim/make_apk.py " + apk.string() +
                             " --package com.mivora.native --size 3145733";
    ASSERT_EQ(std::system(make.c_str()), 0);
    std::ifstream in(apk, std::ios::binary);
    const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_EQ(bytes.size(), 3145733u);

    Transport& transport = Over(box);
    ASSERT_EQ(transport.Handshake(nullptr, false).outcome, HandshakeOutcome::kOnline);
    ASSERT_TRUE(transport.Open("exec:cmd package install -S 3145733"));
    ASSERT_TRUE(transport.Write(bytes));
    EXPECT_EQ(ReadToEnd(transport), "Success\n");
    EXPECT_NE(box.StorageFile("packages.json").find("com.mivora.native"), std::string::npos);
}

TEST_F(TransportTest, AKeyTheBoxDoesNotKnow) {
    UnknownKey key;
    {
        SimulatedBox accepting("mibox", {"--auth", "ask-accept", "--ask-delay", "0.3"});
        Transport& transport = Over(accepting);
        const HandshakeResult result = transport.Handshake(&key, true);
        EXPECT_EQ(result.outcome, HandshakeOutcome::kOnline);
        EXPECT_EQ(key.signatures, 1) << "one signature, then the key is offered";
        EXPECT_EQ(accepting.StorageFile("adb_keys"), key.PublicKeyLine().substr(0, 700) + "\n");
    }
    {
        SimulatedBox asking("mibox", {"--auth", "ask-accept"});
        Transport& transport = Over(asking);
        const HandshakeResult result = transport.Handshake(&key, false);
        EXPECT_EQ(result.outcome, HandshakeOutcome::kUnauthorized) << "nothing is offered without asking";
        EXPECT_EQ(asking.StorageFile("adb_keys"), "");
    }
    {
        SimulatedBox refusing("generic", {"--auth", "trusted"});
        Transport& transport = Over(refusing);
        const HandshakeResult result = transport.Handshake(&key, true);
        EXPECT_EQ(result.outcome, HandshakeOutcome::kUnauthorized);
        EXPECT_EQ(result.link.kind, LinkStatus::kClosed);
    }
    {
        SimulatedBox keyless("generic", {"--auth", "trusted"});
        Transport& transport = Over(keyless);
        EXPECT_EQ(transport.Handshake(nullptr, true).outcome, HandshakeOutcome::kUnauthorized);
    }
}

// A key read only when it is asked for, which may turn out to be missing.
class KeyOnRequest : public AuthKey {
public:
    std::optional<Bytes> Sign(std::span<const uint8_t>) override {
        ++asked;
        return std::nullopt;
    }
    std::string PublicKeyLine() const override {
        ++asked;
        return {};
    }
    mutable int asked = 0;
};

TEST_F(TransportTest, TheKeyIsAskedForOnlyByABoxThatWantsOneAndAMissingOneIsNotOffered) {
    KeyOnRequest key;
    {
        SimulatedBox open("mibox");
        EXPECT_EQ(Over(open).Handshake(&key, true).outcome, HandshakeOutcome::kOnline);
        EXPECT_EQ(key.asked, 0);
    }
    SimulatedBox asking("mibox", {"--auth", "ask-accept", "--ask-delay", "0.1"});
    const HandshakeResult result = Over(asking).Handshake(&key, true);
    EXPECT_EQ(result.outcome, HandshakeOutcome::kUnauthorized);
    EXPECT_EQ(key.asked, 2) << "a signature, then the line to offer";
    EXPECT_EQ(asking.StorageFile("adb_keys"), "") << "the box's user was asked nothing";
}

TEST_F(TransportTest, BoxesThatCloseOrResetAtOnce) {
    // A box that closes with our CNXN still unread resets the connection instead: either is fine.
    SimulatedBox closing("generic", {"--fault", "close"});
    const HandshakeResult closed = Over(closing).Handshake(nullptr, true);
    EXPECT_EQ(closed.outcome, HandshakeOutcome::kFailed);
    EXPECT_TRUE(closed.link.kind == LinkStatus::kClosed || closed.link.kind == LinkStatus::kNetworkError);

    SimulatedBox resetting("generic", {"--fault", "reset"});
    const HandshakeResult reset = Over(resetting).Handshake(nullptr, true);
    EXPECT_EQ(reset.outcome, HandshakeOutcome::kFailed);
    EXPECT_EQ(reset.link.kind, LinkStatus::kNetworkError);
    EXPECT_EQ(reset.link.detail, static_cast<uint32_t>(ECONNRESET));
}

TEST_F(TransportTest, ABoxThatDropsDuringATransfer) {
    SimulatedBox box("mibox", {"--fault", "drop:300000"});
    Transport& transport = Over(box);
    ASSERT_EQ(transport.Handshake(nullptr, false).outcome, HandshakeOutcome::kOnline);
    ASSERT_TRUE(transport.Open("exec:cmd package install -S 2097152"));
    LinkStatus status = transport.Write(Bytes(2097152, 0x50));
    Bytes data;
    if (status) status = transport.Read(data, Deadline::In(kResultLimitMs));
    EXPECT_TRUE(status.kind == LinkStatus::kNetworkError || status.kind == LinkStatus::kClosed) << status.kind;
}

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST_F(TransportTest, ABoxThatTricklesCannotStretchTheWaitForAWholeAnswer) {
    SimulatedBox box("generic", {"--fault", "trickle"});
    Transport& transport = Over(box);
    ASSERT_EQ(transport.Handshake(nullptr, false).outcome, HandshakeOutcome::kOnline);

    // A dot a second: every read gets something, but the answer never ends.
    auto start = Clock::now();
    std::string printed;
    const ShellRun run = RunRemoteCommand(transport, "getprop ro.product.model", Deadline::In(2500),
                                          [&](std::string_view out, std::string_view) { printed += out; });
    EXPECT_FALSE(run.finished);
    EXPECT_EQ(run.link.kind, LinkStatus::kTimedOut);
    EXPECT_EQ(run.link.detail, 2500u);
    EXPECT_LT(SecondsSince(start), 6.0);
    EXPECT_GE(printed.size(), 2u);
    EXPECT_EQ(printed, std::string(printed.size(), '.'));

    start = Clock::now();
    ASSERT_TRUE(transport.Open("exec:cmd package install -S 0"));
    LinkStatus status;
    EXPECT_EQ(ReadAnswerLine(transport, Deadline::In(2500), status), "");
    EXPECT_EQ(status.kind, LinkStatus::kTimedOut);
    EXPECT_LT(SecondsSince(start), 6.0);
}

TEST_F(TransportTest, ABoxThatFloodsIsHandedOnButKeptOnlyInPart) {
    SimulatedBox box("generic", {"--fault", "flood"});
    Transport& transport = Over(box);
    ASSERT_EQ(transport.Handshake(nullptr, false).outcome, HandshakeOutcome::kOnline);
    size_t handedOn = 0;
    const ShellRun run = RunRemoteCommand(transport, "getprop ro.product.model", Deadline::In(3000),
                                          [&](std::string_view out, std::string_view) { handedOn += out.size(); });
    EXPECT_EQ(run.link.kind, LinkStatus::kTimedOut);
    EXPECT_GT(handedOn, 2 * kMaxKeptOutput);
    EXPECT_EQ(run.output.size(), kMaxKeptOutput);
    EXPECT_EQ(run.output.substr(0, 12), "flood flood ");

    // Its answer to an install is no verdict: no line ends in it.
    ASSERT_TRUE(transport.Open("exec:cmd package install -S 0"));
    LinkStatus status;
    EXPECT_EQ(ReadAnswerLine(transport, Deadline::In(30000), status), "");
    EXPECT_EQ(status.kind, LinkStatus::kTooMuchData);
}

TEST_F(TransportTest, WhatABoxWritesDuringAnUploadIsBounded) {
    // Sixteen megabytes answered to each megabyte sent: kept, an 8 MB upload would hold 128 MB.
    SimulatedBox box("mibox", {"--fault", "flood-upload:16"});
    Transport& transport = Over(box);
    ASSERT_EQ(transport.Handshake(nullptr, false).outcome, HandshakeOutcome::kOnline);
    ASSERT_TRUE(transport.Open("exec:cmd package install -S 8388608"));
    EXPECT_EQ(transport.Write(Bytes(8388608, 0x50)).kind, LinkStatus::kTooMuchData);
}

// A listener that answers every connection with bytes that are no transport message.
class WebServer {
public:
    WebServer() : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(fd_, 1);
        socklen_t size = sizeof address;
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            const int peer = accept(fd_, nullptr, nullptr);
            const char page[] = "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n";
            send(peer, page, sizeof page - 1, MSG_NOSIGNAL);
            char sink[256];
            while (recv(peer, sink, sizeof sink, 0) > 0) {
            }
            close(peer);
        });
    }
    ~WebServer() {
        shutdown(fd_, SHUT_RDWR);
        thread_.join();
        close(fd_);
    }
    uint16_t port() const { return port_; }

private:
    int fd_;
    uint16_t port_ = 0;
    std::thread thread_;
};

TEST(TransportPeers, AWebServerIsNoBox) {
    WebServer server;
    std::optional<HandshakeResult> result;
    {
        PosixChannel channel(server.port());
        ASSERT_TRUE(channel.connected());
        Transport transport(channel);
        result = transport.Handshake(nullptr, true);
    }
    EXPECT_EQ(result->outcome, HandshakeOutcome::kFailed);
    EXPECT_EQ(result->link.kind, LinkStatus::kNotAdb);
}

}  // namespace
