#include "adb/client/transport.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "adb/client/time_limits.h"

namespace adb::client {

namespace {

// What this client can do with a box; Google's hosts list theirs the same way.
constexpr std::string_view kHostBanner = "host::features=shell_v2,cmd";

}  // namespace

Transport::~Transport() { Close(); }

LinkStatus Transport::Send(uint32_t command, uint32_t arg0, uint32_t arg1, std::span<const uint8_t> payload) {
    outbox_.resize(kHeaderSize + payload.size());
    EncodeHeader(outbox_.data(), command, arg0, arg1, payload, Checksummed());
    std::copy(payload.begin(), payload.end(), outbox_.begin() + kHeaderSize);
    return channel_.Send(outbox_, kTransferLimitMs);
}

LinkStatus Transport::Receive(Message& message, const Deadline& deadline, bool forReader) {
    // Most boxes never send a message near the largest size: the inbox grows when one comes.
    if (inbox_.empty()) inbox_.resize(kHeaderSize + kMaxPayloadV1);
    for (;;) {
        const size_t buffered = inboxEnd_ - inboxStart_;
        size_t needed = kHeaderSize;
        if (buffered >= kHeaderSize) {
            const auto header = DecodeHeader(inbox_.data() + inboxStart_);
            if (!header || header->length > kMaxPayload) return {LinkStatus::kNotAdb};
            needed = kHeaderSize + header->length;
            if (forReader && !acknowledgedEarly_ && IsStreamData(*header)) {
                acknowledgedEarly_ = true;
                if (LinkStatus sent = Send(kOkay, localId_, remoteId_, {}); !sent) return sent;
            }
            if (buffered >= needed) {
                message.header = *header;
                message.payload = std::span<const uint8_t>(inbox_.data() + inboxStart_ + kHeaderSize, header->length);
                message.acknowledged = std::exchange(acknowledgedEarly_, false);
                inboxStart_ += needed;
                return {};
            }
        }
        // Keep the message being gathered at the front, so that a whole one always fits.
        if (inboxStart_) {
            std::memmove(inbox_.data(), inbox_.data() + inboxStart_, buffered);
            inboxStart_ = 0;
            inboxEnd_ = buffered;
        }
        if (inbox_.size() < needed) inbox_.resize(needed);
        size_t received = 0;
        const uint32_t left = deadline.MillisecondsLeft();
        const LinkStatus status = left ? channel_.Receive(std::span(inbox_).subspan(inboxEnd_), received, left)
                                       : LinkStatus{LinkStatus::kTimedOut};
        if (status.kind == LinkStatus::kTimedOut) return {LinkStatus::kTimedOut, deadline.LimitMs()};
        if (!status) return status;
        inboxEnd_ += received;
    }
}

HandshakeResult Transport::Handshake(AuthKey* key, bool offerKey) {
    if (LinkStatus sent = Send(kCnxn, kProtocolVersion, kMaxPayload, AsBytes(kHostBanner)); !sent) {
        return {HandshakeOutcome::kFailed, sent};
    }
    int tokens = 0;
    bool offered = false;
    Deadline answer = Deadline::In(kHandshakeLimitMs);
    for (;;) {
        Message message;
        const LinkStatus status = Receive(message, answer);
        if (!status) {
            // Once the box has asked for a key, whatever ends the talk is a matter of trust: a box
            // that refuses a key closes the connection, one whose user says nothing stays silent.
            const bool authenticating = tokens > 0 && status.kind != LinkStatus::kNotAdb;
            return {authenticating ? HandshakeOutcome::kUnauthorized : HandshakeOutcome::kFailed, status};
        }
        const MessageHeader& header = message.header;
        if (header.command == kCnxn) {
            version_ = header.arg0;
            maxWrite_ = std::clamp<size_t>(header.arg1, kMaxPayloadV1, kMaxPayload);
            banner_ = ParseDeviceBanner(AsText(message.payload));
            return {HandshakeOutcome::kOnline, {}};
        }
        if (header.command != kAuth || header.arg0 != kAuthToken || offered) continue;
        ++tokens;
        if (tokens == 1 && key) {
            if (const auto signature = key->Sign(message.payload)) {
                if (LinkStatus sent = Send(kAuth, kAuthSignature, 0, *signature); !sent) {
                    return {HandshakeOutcome::kFailed, sent};
                }
                answer = Deadline::In(kHandshakeLimitMs);
                continue;
            }
        }
        if (!offerKey || !key) return {HandshakeOutcome::kUnauthorized, {}};
        std::string line = key->PublicKeyLine();
        if (line.empty()) return {HandshakeOutcome::kUnauthorized, {}};  // no key to offer after all
        line.push_back('\0');
        if (LinkStatus sent = Send(kAuth, kAuthPublicKey, 0, AsBytes(line)); !sent) {
            return {HandshakeOutcome::kUnauthorized, sent};
        }
        offered = true;
        answer = Deadline::In(kUserLimitMs);
    }
}

bool Transport::TakeStreamMessage(const Message& message, LinkStatus& status) {
    const MessageHeader& header = message.header;
    if (!streamOpen_ || header.arg1 != localId_) return false;
    if (header.command == kWrte) {
        if (!received_.empty() && receivedBytes_ + message.payload.size() > kMaxQueuedBytes) {
            status = {LinkStatus::kTooMuchData};
            return true;
        }
        status = message.acknowledged ? LinkStatus{} : Send(kOkay, localId_, remoteId_, {});
        receivedBytes_ += message.payload.size();
        received_.emplace_back(message.payload.begin(), message.payload.end());
        return true;
    }
    if (header.command == kOkay) {
        writeOutstanding_ = false;
        status = {};
        return true;
    }
    if (header.command == kClse) {
        streamOpen_ = false;
        streamEnded_ = true;
        writeOutstanding_ = false;
        status = {LinkStatus::kStreamEnded};
        return true;
    }
    return false;
}

LinkStatus Transport::Open(std::string_view service) {
    Close();
    localId_ = nextLocalId_++;
    remoteId_ = 0;
    streamEnded_ = false;
    writeOutstanding_ = false;
    received_.clear();
    receivedBytes_ = 0;
    std::string request(service);
    request.push_back('\0');
    if (LinkStatus sent = Send(kOpen, localId_, 0, AsBytes(request)); !sent) return sent;
    const Deadline answer = Deadline::In(kTransferLimitMs);
    for (;;) {
        Message message;
        if (LinkStatus status = Receive(message, answer); !status) return status;
        if (message.header.arg1 != localId_) continue;
        if (message.header.command == kOkay) {
            remoteId_ = message.header.arg0;
            streamOpen_ = true;
            return {};
        }
        if (message.header.command == kClse) return {LinkStatus::kRefused};
    }
}

LinkStatus Transport::AwaitAcknowledgement() {
    const Deadline answer = Deadline::In(kTransferLimitMs);
    while (writeOutstanding_) {
        Message message;
        if (LinkStatus status = Receive(message, answer); !status) return status;
        LinkStatus streamStatus;
        if (TakeStreamMessage(message, streamStatus) && !streamStatus) return streamStatus;
    }
    return {};
}

LinkStatus Transport::Write(std::span<const uint8_t> data) {
    while (!data.empty()) {
        if (LinkStatus acknowledged = AwaitAcknowledgement(); !acknowledged) return acknowledged;
        if (!streamOpen_) return {LinkStatus::kStreamEnded};
        const auto piece = data.first(std::min(data.size(), maxWrite_));
        if (LinkStatus sent = Send(kWrte, localId_, remoteId_, piece); !sent) return sent;
        writeOutstanding_ = true;
        data = data.subspan(piece.size());
    }
    return {};
}

LinkStatus Transport::Read(Bytes& data, const Deadline& deadline) {
    while (received_.empty()) {
        if (streamEnded_ || !streamOpen_) return {LinkStatus::kStreamEnded};
        Message message;
        if (LinkStatus status = Receive(message, deadline, true); !status) return status;
        // Data for this waiting reader goes to it from the inbox, without a queue between.
        if (IsStreamData(message.header)) {
            data.assign(message.payload.begin(), message.payload.end());
            return message.acknowledged ? LinkStatus{} : Send(kOkay, localId_, remoteId_, {});
        }
        LinkStatus streamStatus;
        if (TakeStreamMessage(message, streamStatus) && !streamStatus &&
            streamStatus.kind != LinkStatus::kStreamEnded) {
            return streamStatus;
        }
    }
    data = std::move(received_.front());
    received_.pop_front();
    receivedBytes_ -= data.size();
    return {};
}

void Transport::Close() {
    if (!streamOpen_) return;
    streamOpen_ = false;
    writeOutstanding_ = false;
    Send(kClse, localId_, remoteId_, {});
}

}  // namespace adb::client
