#pragma once
// The transport over one connection to a box: the handshake with its authentication, then one
// stream at a time (OPEN, WRTE/OKAY with one write outstanding, CLSE). Every wait has a limit.
#include <deque>
#include <string_view>

#include "adb/client/auth_key.h"
#include "adb/client/byte_channel.h"
#include "adb/client/deadline.h"
#include "adb/client/device_banner.h"
#include "adb/client/wire_message.h"

namespace adb::client {

enum class HandshakeOutcome {
    kOnline,
    kUnauthorized,  // the box wants a key it does not trust (its user refused or did not answer)
    kFailed,        // no proper answer: silence, garbage, or the connection ended
};

struct HandshakeResult {
    HandshakeOutcome outcome = HandshakeOutcome::kFailed;
    LinkStatus link;  // what ended the handshake when it did not succeed
};

// What the box may write on a stream that nobody reads yet (it should write nothing while it is
// sent an APK): a megabyte, one message of the largest size, is more than any answer. A box that
// goes on writing ends the transfer instead of filling the memory.
constexpr size_t kMaxQueuedBytes = 1 << 20;

class Transport {
public:
    explicit Transport(ByteChannel& channel) : channel_(channel) {}
    // Closes a stream still open, so that the box never keeps a half-used service.
    ~Transport();
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    // key may be null (no usable key). With offerKey, a box that does not trust the key is offered
    // it, which makes the box ask its user; the answer is awaited for kUserLimitMs.
    HandshakeResult Handshake(AuthKey* key, bool offerKey);
    const DeviceBanner& Banner() const { return banner_; }

    // Opens a service ("shell:...", "sync:", ...); kRefused when the box turns it down.
    LinkStatus Open(std::string_view service);
    // Writes data in messages of the box's size. One message is outstanding at a time: each waits
    // for the box's acknowledgement of the one before, and the last one's is awaited by the next
    // Write or Read, so that the caller can prepare more data meanwhile. kStreamEnded when the box
    // closes the stream first; kTooMuchData when it writes more than kMaxQueuedBytes meanwhile.
    LinkStatus Write(std::span<const uint8_t> data);
    // The next bytes the box writes on the stream, by the deadline; kStreamEnded once it has closed
    // it. data's room is reused: a caller that keeps it from one read to the next makes no
    // allocation for a transfer's pieces. A caller waiting for a whole answer gives every read the
    // same deadline, so that a box sending a byte now and then cannot stretch the wait.
    LinkStatus Read(Bytes& data, const Deadline& deadline);
    // Closes the stream from our side if it is still open.
    void Close();

private:
    struct Message {
        MessageHeader header;
        std::span<const uint8_t> payload;  // in the inbox: valid until the next Receive
        bool acknowledged = false;         // its OKAY went out while it was arriving
    };

    LinkStatus Send(uint32_t command, uint32_t arg0, uint32_t arg1, std::span<const uint8_t> payload);
    // forReader: data for the open stream is acknowledged as soon as its header is in, so that the
    // box readies the next piece while this one comes (a reader takes each piece in turn, so no
    // more than one is ever waiting).
    LinkStatus Receive(Message& message, const Deadline& deadline, bool forReader = false);
    // A message that belongs to the open stream: data is acknowledged and queued, OKAY answers our
    // outstanding write, CLSE ends the stream. Returns true when it was one.
    bool TakeStreamMessage(const Message& message, LinkStatus& status);
    bool IsStreamData(const MessageHeader& header) const {
        return streamOpen_ && header.command == kWrte && header.arg1 == localId_;
    }
    LinkStatus AwaitAcknowledgement();
    bool Checksummed() const { return version_ < kProtocolVersion; }

    ByteChannel& channel_;
    DeviceBanner banner_;
    uint32_t version_ = 0;
    size_t maxWrite_ = kMaxPayloadV1;

    Bytes inbox_;
    size_t inboxStart_ = 0;
    size_t inboxEnd_ = 0;
    Bytes outbox_;

    uint32_t nextLocalId_ = 1;
    uint32_t localId_ = 0;
    uint32_t remoteId_ = 0;
    bool streamOpen_ = false;    // opened and not yet closed by us
    bool streamEnded_ = false;   // the box closed it
    bool writeOutstanding_ = false;
    bool acknowledgedEarly_ = false;  // the message being gathered has had its OKAY
    std::deque<Bytes> received_;
    size_t receivedBytes_ = 0;  // in received_
};

}  // namespace adb::client
