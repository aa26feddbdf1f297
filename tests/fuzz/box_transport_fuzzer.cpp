// libFuzzer target for our client's transport as a hostile or broken box drives it: the handshake
// (banner, AUTH tokens), then a shell command, a sync exchange or an answer line over WRTE streams.
// The input's first byte picks the key and the exchange, the second how the network cuts what the
// box sends; the rest is everything the box sends. Whatever it sends, the client must end (the box's
// bytes run out: the connection closes), keep no more than its limits, and send only well-formed
// messages of its own.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "adb/client/auth_key.h"
#include "adb/client/byte_channel.h"
#include "adb/client/remote_shell.h"
#include "adb/client/sync_request.h"
#include "adb/client/time_limits.h"
#include "adb/client/transport.h"
#include "adb/client/wire_message.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace adb::client;

class ScriptedBox : public ByteChannel {
public:
    ScriptedBox(std::span<const uint8_t> sends, size_t piece) : sends_(sends), piece_(piece) {}

    LinkStatus Send(std::span<const uint8_t> data, uint32_t) override {
        FUZZ_CHECK(data.size() >= kHeaderSize);
        const auto header = DecodeHeader(data.data());
        FUZZ_CHECK(header && header->length == data.size() - kHeaderSize && header->length <= kMaxPayload);
        return {};
    }
    LinkStatus Receive(std::span<uint8_t> buffer, size_t& received, uint32_t) override {
        received = 0;
        if (sends_.empty()) return {LinkStatus::kClosed};
        received = std::min({buffer.size(), sends_.size(), piece_ ? piece_ : sends_.size()});
        std::copy_n(sends_.begin(), received, buffer.begin());
        sends_ = sends_.subspan(received);
        return {};
    }

private:
    std::span<const uint8_t> sends_;
    size_t piece_;
};

class FixedKey : public AuthKey {
public:
    std::optional<Bytes> Sign(std::span<const uint8_t> token) override {
        if (token.empty()) return std::nullopt;
        return Bytes(256, token[0]);
    }
    std::string PublicKeyLine() const override { return "QUFBQQ== fuzz@host"; }
};

void Exchange(Transport& transport, int kind) {
    const Deadline deadline = Deadline::In(kResultLimitMs);
    switch (kind) {
        case 0:
        case 1: {
            const ShellOutput ignore = [](std::string_view, std::string_view) {};
            const ShellRun run = RunRemoteCommand(transport, "getprop ro.product.model", deadline, ignore);
            FUZZ_CHECK(run.output.size() <= kMaxKeptOutput);
            FUZZ_CHECK(!run.finished || run.link);
            PackageManagerExitCode(run);
            if (kind == 1) RunRemoteCommand(transport, "pm list packages", deadline, ignore);
            break;
        }
        case 2: {
            if (!transport.Open("sync:")) return;
            Bytes request;
            AppendSyncSend(request, "/data/local/tmp/a.apk,33188", kPushedFileMode);
            AppendSyncDataHeader(request, 3);
            request.insert(request.end(), {'a', 'p', 'k'});
            AppendSyncDone(request, 1);
            if (!transport.Write(request)) return;
            Bytes replies, data;
            while (transport.Read(data, deadline)) {
                replies.insert(replies.end(), data.begin(), data.end());
                if (const auto reply = ParseSyncReply(replies)) {
                    FUZZ_CHECK(reply->second <= replies.size());
                    break;
                }
            }
            break;
        }
        default: {
            if (!transport.Open("host:version")) return;
            LinkStatus status;
            const std::string line = ReadAnswerLine(transport, deadline, status);
            FUZZ_CHECK(line.size() <= kMaxAnswerLine && line.find('\n') == std::string::npos);
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t choice = data[0];
    ScriptedBox box(std::span(data + 2, size - 2), data[1]);
    FixedKey key;
    Transport transport(box);
    const HandshakeResult result = transport.Handshake(choice & 1 ? &key : nullptr, choice & 2);
    if (result.outcome != HandshakeOutcome::kOnline) {
        FUZZ_CHECK(!result.link || result.outcome == HandshakeOutcome::kUnauthorized);
        return 0;
    }
    Exchange(transport, (choice >> 2) & 3);
    return 0;
}
