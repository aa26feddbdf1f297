// What travels between client and box: transport messages, sync requests, shell v2 packets and
// the box's banner.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "adb/client/device_banner.h"
#include "adb/client/shell_v2_reader.h"
#include "adb/client/sync_request.h"
#include "adb/client/wire_message.h"

namespace {

using namespace adb::client;

TEST(WireMessage, HeaderWordsChecksumAndMagic) {
    const std::string banner = "host::features=shell_v2,cmd";
    const Bytes message = EncodeMessage(kCnxn, kProtocolVersion, kMaxPayload, AsBytes(banner));
    ASSERT_EQ(message.size(), kHeaderSize + banner.size());
    EXPECT_EQ(std::string(message.begin(), message.begin() + 4), "CNXN");
    EXPECT_EQ(GetLe32(message.data() + 4), 0x01000001u);
    EXPECT_EQ(GetLe32(message.data() + 8), 1024u * 1024u);
    EXPECT_EQ(GetLe32(message.data() + 12), banner.size());
    uint32_t sum = 0;
    for (unsigned char c : banner) sum += c;
    EXPECT_EQ(GetLe32(message.data() + 16), sum);
    EXPECT_EQ(GetLe32(message.data() + 20), ~0x4e584e43u);
    EXPECT_EQ(std::string(message.begin() + kHeaderSize, message.end()), banner);

    const auto header = DecodeHeader(message.data());
    ASSERT_TRUE(header);
    EXPECT_EQ(header->command, kCnxn);
    EXPECT_EQ(header->arg0, kProtocolVersion);
    EXPECT_EQ(header->arg1, kMaxPayload);
    EXPECT_EQ(header->length, banner.size());
}

TEST(WireMessage, ChecksumMayBeLeftOutAndGarbageIsNoMessage) {
    const uint8_t payload[] = {0xff, 0xff, 0x01};
    EXPECT_EQ(PayloadChecksum(payload), 0x1ffu);
    const Bytes quiet = EncodeMessage(kWrte, 1, 2, payload, false);
    EXPECT_EQ(GetLe32(quiet.data() + 16), 0u);

    Bytes damaged = EncodeMessage(kOkay, 7, 9);
    damaged[20] ^= 1;
    EXPECT_FALSE(DecodeHeader(damaged.data()));
    const std::string http = "HTTP/1.1 400 Bad Request\r\n";
    EXPECT_FALSE(DecodeHeader(reinterpret_cast<const uint8_t*>(http.data())));
}

TEST(SyncRequest, APushAsTheBoxReadsIt) {
    Bytes out;
    AppendSyncSend(out, "/data/local/tmp/a b.apk", kPushedFileMode);
    AppendSyncDataHeader(out, 3);
    out.insert(out.end(), {'x', 'y', 'z'});
    AppendSyncDone(out, 1700000000);
    AppendSyncQuit(out);
    const std::string target = "/data/local/tmp/a b.apk,33188";
    std::string expected = "SEND";
    expected += std::string("\x1d\0\0\0", 4) + target;
    expected += std::string("DATA\x03\0\0\0", 8) + "xyz";
    expected += "DONE";
    expected += std::string("\x00\xf1\x53\x65", 4);
    expected += std::string("QUIT\0\0\0\0", 8);
    EXPECT_EQ(std::string(out.begin(), out.end()), expected);
}

TEST(SyncRequest, RepliesWholeCutAndStrange) {
    const std::string okay("OKAY\0\0\0\0", 8);
    const auto reply = ParseSyncReply(AsBytes(okay));
    ASSERT_TRUE(reply);
    EXPECT_TRUE(reply->first.okay);
    EXPECT_EQ(reply->second, 8u);

    const std::string fail = std::string("FAIL\x1a\0\0\0", 8) + "couldn't create file: Nope";
    EXPECT_FALSE(ParseSyncReply(AsBytes(fail).first(5)));
    EXPECT_FALSE(ParseSyncReply(AsBytes(fail).first(fail.size() - 1)));
    const auto failure = ParseSyncReply(AsBytes(fail));
    ASSERT_TRUE(failure);
    EXPECT_FALSE(failure->first.okay);
    EXPECT_EQ(failure->first.failure, "couldn't create file: Nope");
    EXPECT_EQ(failure->second, fail.size());

    const auto strange = ParseSyncReply(AsBytes(std::string("DA\x01\x02\0\0\0\0", 8)));
    ASSERT_TRUE(strange);
    EXPECT_FALSE(strange->first.okay);
    EXPECT_EQ(strange->first.failure, "unexpected answer 'DA?" "?'");
    // A FAIL claiming megabytes of message is not waited for.
    const auto huge = ParseSyncReply(AsBytes(std::string("FAIL\0\0\0\x10", 8)));
    ASSERT_TRUE(huge);
    EXPECT_FALSE(huge->first.okay);
}

TEST(SyncRequest, StatAndRecvAsTheBoxReadsThem) {
    Bytes out;
    AppendSyncStat(out, "/data/a.apk");
    AppendSyncRecv(out, "/data/a.apk");
    EXPECT_EQ(std::string(out.begin(), out.end()),
              std::string("STAT\x0b\0\0\0/data/a.apkRECV\x0b\0\0\0/data/a.apk", 38));

    const std::string stat("STAT\xa4\x81\0\0\x10\0\0\0\x01\0\0\0", 16);
    bool bad = true;
    EXPECT_FALSE(ParseSyncStat(AsBytes(stat).first(15), bad));
    EXPECT_FALSE(bad);
    const auto file = ParseSyncStat(AsBytes(stat), bad);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->Exists());
    EXPECT_TRUE(file->IsRegularFile());
    EXPECT_EQ(file->size, 16u);
    const auto missing = ParseSyncStat(AsBytes(std::string("STAT", 4) + std::string(12, '\0')), bad);
    ASSERT_TRUE(missing);
    EXPECT_FALSE(missing->Exists());
    const auto folder = ParseSyncStat(AsBytes(std::string("STAT\xed\x41\0\0", 8) + std::string(8, '\0')), bad);
    EXPECT_FALSE(folder->IsRegularFile());
    EXPECT_FALSE(ParseSyncStat(AsBytes(std::string("FAIL", 4) + std::string(12, '\0')), bad));
    EXPECT_TRUE(bad);
}

// The answer to RECV fed in pieces of every size: the same bytes, then the end or the failure.
TEST(SyncReceiver, FileFailureAndStrangeAnswersCutAnywhere) {
    const std::string file = std::string("DATA\x05\0\0\0", 8) + "hello" + std::string("DATA\x01\0\0\0", 8) + "!" +
                             std::string("DONE\0\0\0\0", 8) + "after";
    const std::string failure = std::string("DATA\x02\0\0\0", 8) + "he" + std::string("FAIL\x06\0\0\0", 8) + "nope!!";
    for (size_t piece = 1; piece <= file.size(); ++piece) {
        for (const auto& [answer, state, data, why] :
             {std::tuple{file, SyncReceiver::State::kDone, std::string("hello!"), std::string()},
              std::tuple{failure, SyncReceiver::State::kFailed, std::string("he"), std::string("nope!!")}}) {
            SyncReceiver receiver;
            std::string received;
            for (size_t at = 0; at < answer.size(); at += piece) {
                const auto bytes = AsBytes(answer).subspan(at, std::min(piece, answer.size() - at));
                receiver.Feed(bytes, [&](std::span<const uint8_t> run) { received += AsText(run); });
            }
            EXPECT_EQ(receiver.GetState(), state) << piece;
            EXPECT_EQ(received, data) << piece;
            EXPECT_EQ(receiver.Failure(), why) << piece;
        }
    }
    SyncReceiver huge;
    const std::string oversized("DATA\0\0\x02\0", 8);  // 128 KB: more than a chunk may hold
    EXPECT_EQ(huge.Feed(AsBytes(oversized), [](std::span<const uint8_t>) { FAIL(); }), SyncReceiver::State::kFailed);
    SyncReceiver strange;
    EXPECT_EQ(strange.Feed(AsBytes(std::string("OKAY\0\0\0\0", 8)), [](std::span<const uint8_t>) {}),
              SyncReceiver::State::kFailed);
    EXPECT_EQ(strange.Failure(), "unexpected answer 'OKAY'");
}

Bytes Packet(uint8_t id, std::string_view data) {
    Bytes packet(5 + data.size());
    packet[0] = id;
    PutLe32(packet.data() + 1, static_cast<uint32_t>(data.size()));
    std::copy(data.begin(), data.end(), packet.begin() + 5);
    return packet;
}

TEST(ShellV2Reader, PacketsCutAtEveryPossiblePlace) {
    Bytes stream;
    for (const Bytes& packet : {Packet(1, "MIBOX4\n"), Packet(2, "warning\n"), Packet(1, ""), Packet(1, "end\n"),
                                Packet(3, "\x7f")}) {
        stream.insert(stream.end(), packet.begin(), packet.end());
    }
    for (size_t cut = 0; cut <= stream.size(); ++cut) {
        ShellV2Reader reader;
        ShellV2Reader::Output first = reader.Feed(std::span(stream).first(cut));
        EXPECT_EQ(reader.ExitStatus().has_value(), cut == stream.size()) << cut;
        const ShellV2Reader::Output second = reader.Feed(std::span(stream).subspan(cut));
        EXPECT_EQ(first.out + second.out, "MIBOX4\nend\n") << cut;
        EXPECT_EQ(first.err + second.err, "warning\n") << cut;
        EXPECT_EQ(reader.ExitStatus(), 127) << cut;
    }
    ShellV2Reader byteByByte;
    std::string out;
    for (uint8_t byte : stream) out += byteByByte.Feed(std::span(&byte, 1)).out;
    EXPECT_EQ(out, "MIBOX4\nend\n");
    EXPECT_EQ(byteByByte.ExitStatus(), 127);
}

TEST(ShellV2Reader, AnExitPacketLongerThanItsStatusKeepsItsFirstByteWhereverItIsCut) {
    const Bytes stream = Packet(3, std::string("\x05\x00\x09", 3));
    for (size_t cut = 1; cut < stream.size(); ++cut) {
        ShellV2Reader reader;
        reader.Feed(std::span(stream).first(cut));
        reader.Feed(std::span(stream).subspan(cut));
        EXPECT_EQ(reader.ExitStatus(), 5) << cut;
    }
}

TEST(DeviceBanner, KindAndFeaturesOfEveryShape) {
    const DeviceBanner modern =
        ParseDeviceBanner("device::ro.product.name=beijing;ro.product.model=MIBOX4;features=cmd,shell_v2");
    EXPECT_EQ(modern.kind, "device");
    EXPECT_TRUE(modern.Has("cmd"));
    EXPECT_TRUE(modern.Has("shell_v2"));
    EXPECT_FALSE(modern.Has("abb_exec"));
    EXPECT_FALSE(modern.Has("shell"));

    const DeviceBanner old = ParseDeviceBanner(
        std::string("device::ro.product.name=m8;ro.product.model=M8 Quad;ro.product.device=m8;") + '\0');
    EXPECT_EQ(old.kind, "device");
    EXPECT_TRUE(old.features.empty());

    const DeviceBanner features = ParseDeviceBanner("recovery:0123:features=,shell_v2,,cmd;x=features=abb");
    EXPECT_EQ(features.kind, "recovery");
    EXPECT_EQ(features.features, (std::vector<std::string>{"shell_v2", "cmd"}));

    EXPECT_EQ(ParseDeviceBanner("sideload").kind, "sideload");
    EXPECT_TRUE(ParseDeviceBanner("device:").features.empty());
    EXPECT_EQ(ParseDeviceBanner("").kind, "");
}

}  // namespace
