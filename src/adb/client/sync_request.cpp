#include "adb/client/sync_request.h"

#include <algorithm>

namespace adb::client {

namespace {

void AppendRequest(Bytes& out, std::string_view id, uint32_t length) {
    out.insert(out.end(), id.begin(), id.end());
    AppendLe32(out, length);
}

void AppendPathRequest(Bytes& out, std::string_view id, std::string_view path) {
    AppendRequest(out, id, static_cast<uint32_t>(path.size()));
    out.insert(out.end(), path.begin(), path.end());
}

// An id as it can be shown in a message.
std::string Shown(std::string_view id) {
    std::string shown;
    for (char c : id) shown += (c >= 0x20 && c < 0x7f) ? c : '?';
    return shown;
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

void AppendSyncStat(Bytes& out, std::string_view remotePath) { AppendPathRequest(out, "STAT", remotePath); }

void AppendSyncRecv(Bytes& out, std::string_view remotePath) { AppendPathRequest(out, "RECV", remotePath); }

std::optional<SyncStat> ParseSyncStat(std::span<const uint8_t> received, bool& bad) {
    bad = false;
    if (received.size() < kSyncStatSize) return std::nullopt;
    if (AsText(received.first(4)) != "STAT") {
        bad = true;
        return std::nullopt;
    }
    return SyncStat{GetLe32(received.data() + 4), GetLe32(received.data() + 8), GetLe32(received.data() + 12)};
}

void SyncReceiver::Fail(std::string why) {
    state_ = State::kFailed;
    failure_ = std::move(why);
}

SyncReceiver::State SyncReceiver::Feed(std::span<const uint8_t> bytes,
                                       const std::function<void(std::span<const uint8_t>)>& data) {
    while (state_ == State::kReceiving && !bytes.empty()) {
        if (dataLeft_ > 0) {
            const size_t take = std::min<size_t>(dataLeft_, bytes.size());
            data(bytes.first(take));
            dataLeft_ -= static_cast<uint32_t>(take);
            bytes = bytes.subspan(take);
            continue;
        }
        if (readingFailure_) {
            const size_t take = std::min<size_t>(failureLength_ - failure_.size(), bytes.size());
            failure_ += AsText(bytes.first(take));
            bytes = bytes.subspan(take);
            if (failure_.size() == failureLength_) state_ = State::kFailed;
            continue;
        }
        const size_t take = std::min(kSyncHeaderSize - header_.size(), bytes.size());
        header_.insert(header_.end(), bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(take));
        bytes = bytes.subspan(take);
        if (header_.size() < kSyncHeaderSize) break;
        const std::string id(AsText(std::span<const uint8_t>(header_).first(4)));
        const uint32_t length = GetLe32(header_.data() + 4);
        header_.clear();
        if (id == "DATA" && length <= kSyncDataMax) {
            dataLeft_ = length;
        } else if (id == "DONE") {
            state_ = State::kDone;
        } else if (id == "FAIL" && length <= kFailureMessageMax) {
            readingFailure_ = true;
            failureLength_ = length;
            if (length == 0) state_ = State::kFailed;
        } else {
            Fail(id == "DATA" ? "the box sent a chunk of " + std::to_string(length) + " bytes"
                              : "unexpected answer '" + Shown(id) + "'");
        }
    }
    return state_;
}

std::optional<std::pair<SyncReply, size_t>> ParseSyncReply(std::span<const uint8_t> received) {
    if (received.size() < kSyncHeaderSize) return std::nullopt;
    const std::string_view id = AsText(received.first(4));
    const uint32_t length = GetLe32(received.data() + 4);
    if (id == "OKAY") return std::pair{SyncReply{true, {}}, kSyncHeaderSize};
    if (id != "FAIL" || length > kFailureMessageMax) {
        return std::pair{SyncReply{false, "unexpected answer '" + Shown(id) + "'"}, received.size()};
    }
    if (received.size() < kSyncHeaderSize + length) return std::nullopt;
    return std::pair{SyncReply{false, std::string(AsText(received.subspan(kSyncHeaderSize, length)))},
                     kSyncHeaderSize + length};
}

}  // namespace adb::client
