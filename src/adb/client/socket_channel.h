#pragma once
// A TCP connection to a box over Winsock, non-blocking underneath so that every wait (connecting,
// sending, receiving) ends at its time limit.
#include <winsock2.h>

#include <optional>

#include "adb/client/byte_channel.h"
#include "adb/client/endpoint.h"

namespace adb::client {

// Winsock for the life of the process's main.
class WinsockSession {
public:
    WinsockSession();
    ~WinsockSession();
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
};

// The IPv4 address of endpoint, or nothing with the resolver's error in error.
std::optional<sockaddr_in> Resolve(const Endpoint& endpoint, uint32_t& error);

class SocketChannel : public ByteChannel {
public:
    SocketChannel() = default;
    // Ends the connection in order: our side shut down, the box's close awaited briefly.
    ~SocketChannel() override;
    SocketChannel(const SocketChannel&) = delete;
    SocketChannel& operator=(const SocketChannel&) = delete;

    LinkStatus Connect(const sockaddr_in& address, uint32_t limitMs);

    LinkStatus Send(std::span<const uint8_t> data, uint32_t limitMs) override;
    LinkStatus Receive(std::span<uint8_t> buffer, size_t& received, uint32_t limitMs) override;

private:
    enum class Wait { kRead, kWrite };
    // Waits until the socket is ready; kOk, kTimedOut or the socket's error.
    LinkStatus WaitUntil(Wait what, uint32_t limitMs);

    SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace adb::client
