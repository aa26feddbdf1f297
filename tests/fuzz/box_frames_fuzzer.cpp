// libFuzzer target for the decoders of what a box sends our client, one message at a time: message
// headers, the box's banner, shell protocol v2 frames and sync replies, and addresses as a user types
// them. Shell v2 output must not depend on how the network cut the stream into pieces.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "adb/client/device_banner.h"
#include "adb/client/endpoint.h"
#include "adb/client/shell_v2_reader.h"
#include "adb/client/sync_request.h"
#include "adb/client/wire_message.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace adb::client;

struct ShellText {
    std::string out, err;
    std::optional<int> exit;
};

// The whole stream at once, then in pieces whose sizes come from the stream itself.
void CheckShellV2(std::span<const uint8_t> stream) {
    ShellText whole;
    {
        ShellV2Reader reader;
        const ShellV2Reader::Output output = reader.Feed(stream);
        whole = {output.out, output.err, reader.ExitStatus()};
    }
    ShellText pieces;
    ShellV2Reader reader;
    size_t at = 0;
    while (at < stream.size()) {
        const size_t size = std::min<size_t>(stream.size() - at, 1 + stream[at] % 13);
        const ShellV2Reader::Output output = reader.Feed(stream.subspan(at, size));
        pieces.out += output.out;
        pieces.err += output.err;
        at += size;
    }
    pieces.exit = reader.ExitStatus();
    FUZZ_CHECK(whole.out == pieces.out && whole.err == pieces.err && whole.exit == pieces.exit);
    FUZZ_CHECK(whole.out.size() + whole.err.size() <= stream.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const std::string_view text = AsText(bytes);

    if (size >= kHeaderSize) {
        if (const auto header = DecodeHeader(data)) {
            // A header we accept is one we would have sent the same way.
            uint8_t again[kHeaderSize];
            const std::span<const uint8_t> payload = bytes.subspan(kHeaderSize);
            if (payload.size() == header->length) {
                EncodeHeader(again, header->command, header->arg0, header->arg1, payload, GetLe32(data + 16) != 0);
                FUZZ_CHECK(std::memcmp(again, data, 16) == 0 && std::memcmp(again + 20, data + 20, 4) == 0);
            }
        }
    }

    const DeviceBanner banner = ParseDeviceBanner(text);
    FUZZ_CHECK(banner.kind.find(':') == std::string::npos && banner.kind.size() <= size);
    for (const std::string& feature : banner.features) FUZZ_CHECK(banner.Has(feature));

    CheckShellV2(bytes);

    std::span<const uint8_t> replies = bytes;
    while (const auto reply = ParseSyncReply(replies)) {
        FUZZ_CHECK(reply->second >= kSyncHeaderSize && reply->second <= replies.size());
        FUZZ_CHECK(!reply->first.okay || reply->first.failure.empty());
        replies = replies.subspan(reply->second);
    }

    if (const auto endpoint = ParseEndpoint(text)) {
        FUZZ_CHECK(!endpoint->host.empty() && endpoint->port != 0);
        const auto again = ParseEndpoint(endpoint->Serial());
        FUZZ_CHECK(again && again->host == endpoint->host && again->port == endpoint->port);
    }
    return 0;
}
