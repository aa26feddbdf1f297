#include "adb/client/sync_request.h"

namespace adb::client {

namespace {

void AppendRequest(Bytes& out, std::string_view id, uint32_t length) {
    out.insert(out.end(), id.begin(), id.end());
    AppendLe32(out, length);
}

// FAIL messages are short texts; a huge length means the stream is not what we think it is.
constexpr uint32_t kFailureMessageMax = 64 * 1024;

}  // namespace

void AppendSyncSend(Bytes& out, std::string_view remotePath, uint32_t mode) {
    const std::string target = std::string(remotePath) + "," + std::to_string(mode);
    AppendRequest(out, "SEND", static_cast<uint32_t>(target.size()));
    out.insert(out.end(), target.begin(), target.end());
}

void AppendSyncDataHeader(Bytes& out, size_t size) { AppendRequest(out, "DATA", static_cast<uint32_t>(size)); }

void AppendSyncDone(Bytes& out, uint32_t modifiedTime) { AppendRequest(out, "DONE", modifiedTime); }

void AppendSyncQuit(Bytes& out) { AppendRequest(out, "QUIT", 0); }

std::optional<std::pair<SyncReply, size_t>> ParseSyncReply(std::span<const uint8_t> received) {
    if (received.size() < kSyncHeaderSize) return std::nullopt;
    const std::string_view id = AsText(received.first(4));
    const uint32_t length = GetLe32(received.data() + 4);
    if (id == "OKAY") return std::pair{SyncReply{true, {}}, kSyncHeaderSize};
    if (id != "FAIL" || length > kFailureMessageMax) {
        std::string shown;
        for (char c : id) shown += (c >= 0x20 && c < 0x7f) ? c : '?';
        return std::pair{SyncReply{false, "unexpected answer '" + shown + "'"}, received.size()};
    }
    if (received.size() < kSyncHeaderSize + length) return std::nullopt;
    return std::pair{SyncReply{false, std::string(AsText(received.subspan(kSyncHeaderSize, length)))},
                     kSyncHeaderSize + length};
}

}  // namespace adb::client
