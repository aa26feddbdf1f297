#pragma once
// The transport's messages between host and box: a 24-byte header of six little-endian words
// (command, two arguments, payload length, payload byte sum, command ^ 0xFFFFFFFF) and the payload.
#include <optional>

#include "adb/client/bytes.h"

namespace adb::client {

enum Command : uint32_t {
    kCnxn = 0x4e584e43,
    kAuth = 0x48545541,
    kOpen = 0x4e45504f,
    kOkay = 0x59414b4f,
    kClse = 0x45534c43,
    kWrte = 0x45545257,
};

enum AuthType : uint32_t { kAuthToken = 1, kAuthSignature = 2, kAuthPublicKey = 3 };

// Our protocol version; from it on either side may leave the payload checksum at zero.
constexpr uint32_t kProtocolVersion = 0x01000001;
constexpr size_t kHeaderSize = 24;
// Handshake messages must fit in what the oldest boxes accept.
constexpr uint32_t kMaxPayloadV1 = 4096;
// What we offer: the box may send us payloads this large.
constexpr uint32_t kMaxPayload = 1024 * 1024;

struct MessageHeader {
    uint32_t command = 0;
    uint32_t arg0 = 0;
    uint32_t arg1 = 0;
    uint32_t length = 0;
};

uint32_t PayloadChecksum(std::span<const uint8_t> payload);

// Fills the kHeaderSize bytes at out for a message carrying payload.
void EncodeHeader(uint8_t* out, uint32_t command, uint32_t arg0, uint32_t arg1, std::span<const uint8_t> payload,
                  bool withChecksum);

// Header and payload in one buffer, ready to send.
Bytes EncodeMessage(uint32_t command, uint32_t arg0, uint32_t arg1, std::span<const uint8_t> payload = {},
                    bool withChecksum = true);

// The header at in, or nothing when its magic word does not belong to its command (not a message).
std::optional<MessageHeader> DecodeHeader(const uint8_t* in);

}  // namespace adb::client
