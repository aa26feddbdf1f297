#include "adb/client/socket_channel.h"

#include <ws2tcpip.h>

#include <algorithm>

#include "adb/client/deadline.h"

namespace adb::client {

namespace {

// Long enough for a box to answer our shutdown with its own; a box that does not, or that goes on
// sending, is not waited for longer: this is the whole of the draining.
constexpr uint32_t kCloseLimitMs = 1000;
// One send call at most this large: Winsock copies what it takes into its own buffers.
constexpr size_t kSendPiece = 1 << 20;

LinkStatus SocketError(int error) { return {LinkStatus::kNetworkError, static_cast<uint32_t>(error)}; }

timeval TimeoutOf(uint32_t limitMs) {
    return {static_cast<long>(limitMs / 1000), static_cast<long>(limitMs % 1000) * 1000};
}

}  // namespace

WinsockSession::WinsockSession() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
}

WinsockSession::~WinsockSession() { WSACleanup(); }

std::optional<sockaddr_in> Resolve(const Endpoint& endpoint, uint32_t& error) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = getaddrinfo(endpoint.host.c_str(), nullptr, &hints, &found);
    if (result != 0 || found == nullptr) {
        error = static_cast<uint32_t>(result ? result : WSAHOST_NOT_FOUND);
        return std::nullopt;
    }
    sockaddr_in address = *reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    freeaddrinfo(found);
    address.sin_port = htons(endpoint.port);
    return address;
}

SocketChannel::~SocketChannel() {
    if (socket_ == INVALID_SOCKET) return;
    // Closing with the box's last bytes unread would reset the connection; a box that has seen our
    // shutdown closes too, which ends the draining at once.
    if (shutdown(socket_, SD_SEND) == 0) {
        const Deadline drained = Deadline::In(kCloseLimitMs);
        char sink[4096];
        for (uint32_t left = drained.MillisecondsLeft();
             left && WaitUntil(Wait::kRead, left) && recv(socket_, sink, sizeof sink, 0) > 0;
             left = drained.MillisecondsLeft()) {
        }
    }
    closesocket(socket_);
}

LinkStatus SocketChannel::WaitUntil(Wait what, uint32_t limitMs) {
    fd_set ready;
    fd_set failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(socket_, &ready);
    // Only a failed connect is reported in the failure set alone; a connection that is reset or
    // closed makes the socket readable, and recv then says which. Reads leave that set out because
    // Wine's server (8.0) checks the entries of one wait one after the other: a box closing between
    // the read entry and the failure entry of the same socket marks the wait without answering it,
    // the server aborts when the wait's limit comes, and every Wine program it served hangs.
    fd_set* failures = what == Wait::kWrite ? &failed : nullptr;
    if (failures) FD_SET(socket_, failures);
    timeval timeout = TimeoutOf(limitMs);
    const int count = select(0, what == Wait::kRead ? &ready : nullptr, what == Wait::kWrite ? &ready : nullptr,
                             failures, &timeout);
    if (count == SOCKET_ERROR) return SocketError(WSAGetLastError());
    if (count == 0) return {LinkStatus::kTimedOut, limitMs};
    if (failures && FD_ISSET(socket_, failures)) {
        int error = 0;
        int size = sizeof error;
        getsockopt(socket_, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
        return SocketError(error ? error : WSAECONNRESET);
    }
    return {};
}

LinkStatus SocketChannel::Connect(const sockaddr_in& address, uint32_t limitMs) {
    socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket_ == INVALID_SOCKET) return SocketError(WSAGetLastError());
    u_long nonBlocking = 1;
    ioctlsocket(socket_, FIONBIO, &nonBlocking);
    // The transport sends small requests and waits for small answers: never hold one back.
    const BOOL noDelay = TRUE;
    setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    if (connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return {};
    const int error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK) return SocketError(error);
    return WaitUntil(Wait::kWrite, limitMs);
}

LinkStatus SocketChannel::Send(std::span<const uint8_t> data, uint32_t limitMs) {
    while (!data.empty()) {
        const int size = static_cast<int>(std::min(data.size(), kSendPiece));
        const int sent = send(socket_, reinterpret_cast<const char*>(data.data()), size, 0);
        if (sent > 0) {
            data = data.subspan(static_cast<size_t>(sent));
            continue;
        }
        const int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK) return SocketError(error);
        if (LinkStatus ready = WaitUntil(Wait::kWrite, limitMs); !ready) return ready;
    }
    return {};
}

LinkStatus SocketChannel::Receive(std::span<uint8_t> buffer, size_t& received, uint32_t limitMs) {
    for (;;) {
        const int size = static_cast<int>(std::min<size_t>(buffer.size(), INT_MAX));
        const int count = recv(socket_, reinterpret_cast<char*>(buffer.data()), size, 0);
        if (count > 0) {
            received = static_cast<size_t>(count);
            return {};
        }
        if (count == 0) return {LinkStatus::kClosed};
        const int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK) return SocketError(error);
        if (LinkStatus ready = WaitUntil(Wait::kRead, limitMs); !ready) return ready;
    }
}

}  // namespace adb::client
