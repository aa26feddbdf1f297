#pragma once
// The transport's byte channel over a Linux TCP socket, so that the platform-free transport can
// meet a real simulated box in the native (sanitized) build.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "adb/client/byte_channel.h"

namespace test_support {

class PosixChannel : public adb::client::ByteChannel {
public:
    // Connects to 127.0.0.1:port; connected() tells whether it worked.
    explicit PosixChannel(uint16_t port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        const int on = 1;
        setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    ~PosixChannel() override { close(fd_); }
    PosixChannel(const PosixChannel&) = delete;
    PosixChannel& operator=(const PosixChannel&) = delete;

    bool connected() const { return connected_; }

    adb::client::LinkStatus Send(std::span<const uint8_t> data, uint32_t limitMs) override {
        while (!data.empty()) {
            if (auto ready = Wait(POLLOUT, limitMs); !ready) return ready;
            const ssize_t sent = send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
            if (sent < 0) return Failure();
            data = data.subspan(static_cast<size_t>(sent));
        }
        return {};
    }

    adb::client::LinkStatus Receive(std::span<uint8_t> buffer, size_t& received, uint32_t limitMs) override {
        if (auto ready = Wait(POLLIN, limitMs); !ready) return ready;
        const ssize_t count = recv(fd_, buffer.data(), buffer.size(), 0);
        if (count < 0) return Failure();
        if (count == 0) return {adb::client::LinkStatus::kClosed};
        received = static_cast<size_t>(count);
        return {};
    }

private:
    adb::client::LinkStatus Wait(short events, uint32_t limitMs) {
        pollfd entry{fd_, events, 0};
        const int count = poll(&entry, 1, static_cast<int>(limitMs));
        if (count < 0) return Failure();
        if (count == 0) return {adb::client::LinkStatus::kTimedOut, limitMs};
        return {};
    }
    static adb::client::LinkStatus Failure() {
        return {adb::client::LinkStatus::kNetworkError, static_cast<uint32_t>(errno)};
    }

    int fd_;
    bool connected_ = false;
};

}  // namespace test_support
