#include "adb/client/wire_message.h"

#include <algorithm>

namespace adb::client {

uint32_t PayloadChecksum(std::span<const uint8_t> payload) {
    uint32_t sum = 0;
    for (uint8_t byte : payload) sum += byte;
    return sum;
}

void EncodeHeader(uint8_t* out, uint32_t command, uint32_t arg0, uint32_t arg1, std::span<const uint8_t> payload,
                  bool withChecksum) {
    PutLe32(out, command);
    PutLe32(out + 4, arg0);
    PutLe32(out + 8, arg1);
    PutLe32(out + 12, static_cast<uint32_t>(payload.size()));
    PutLe32(out + 16, withChecksum ? PayloadChecksum(payload) : 0);
    PutLe32(out + 20, command ^ 0xFFFFFFFFu);
}

Bytes EncodeMessage(uint32_t command, uint32_t arg0, uint32_t arg1, std::span<const uint8_t> payload,
                    bool withChecksum) {
    Bytes message(kHeaderSize + payload.size());
    EncodeHeader(message.data(), command, arg0, arg1, payload, withChecksum);
    std::copy(payload.begin(), payload.end(), message.begin() + kHeaderSize);
    return message;
}

std::optional<MessageHeader> DecodeHeader(const uint8_t* in) {
    MessageHeader header{GetLe32(in), GetLe32(in + 4), GetLe32(in + 8), GetLe32(in + 12)};
    if (GetLe32(in + 20) != (header.command ^ 0xFFFFFFFFu)) return std::nullopt;
    return header;
}

}  // namespace adb::client
