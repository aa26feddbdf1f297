#pragma once
// A connection that carries bytes both ways, each wait bounded by a time limit. The transport is
// written against this, so it needs nothing of the platform's sockets.
#include <cstddef>

#include "adb/client/bytes.h"
#include "adb/client/link_status.h"

namespace adb::client {

class ByteChannel {
public:
    virtual ~ByteChannel() = default;

    // Sends every byte, waiting at most limitMs for each chance to send more.
    virtual LinkStatus Send(std::span<const uint8_t> data, uint32_t limitMs) = 0;

    // Receives at least one byte into buffer, waiting at most limitMs; kClosed when the peer has
    // closed its side.
    virtual LinkStatus Receive(std::span<uint8_t> buffer, size_t& received, uint32_t limitMs) = 0;
};

}  // namespace adb::client
