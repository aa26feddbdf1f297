// The socket under the transport, on real loopback connections: refusals, a peer that closes, and
// waits that end at their limits.
#include <gtest/gtest.h>

#include "adb/client/socket_channel.h"

namespace {

using namespace adb::client;

// A listening socket on 127.0.0.1 that accepts one connection on request.
class Listener {
public:
    Listener() {
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(socket_, 1);
        int size = sizeof address_;
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address_), &size);
    }
    ~Listener() {
        if (peer_ != INVALID_SOCKET) closesocket(peer_);
        closesocket(socket_);
    }
    const sockaddr_in& address() const { return address_; }
    SOCKET Accept() { return peer_ = accept(socket_, nullptr, nullptr); }
    void ClosePeer() {
        closesocket(peer_);
        peer_ = INVALID_SOCKET;
    }

private:
    SOCKET socket_ = INVALID_SOCKET;
    SOCKET peer_ = INVALID_SOCKET;
    sockaddr_in address_{};
};

class SocketChannelTest : public ::testing::Test {
protected:
    WinsockSession winsock_;
};

TEST_F(SocketChannelTest, AClosedPortRefuses) {
    sockaddr_in address;
    {
        Listener gone;
        address = gone.address();
    }
    SocketChannel channel;
    const LinkStatus status = channel.Connect(address, 5000);
    EXPECT_EQ(status.kind, LinkStatus::kNetworkError);
    EXPECT_EQ(status.detail, static_cast<uint32_t>(WSAECONNREFUSED));
}

TEST_F(SocketChannelTest, BytesBothWaysThenThePeerCloses) {
    Listener listener;
    SocketChannel channel;
    ASSERT_TRUE(channel.Connect(listener.address(), 5000));
    const SOCKET peer = listener.Accept();
    const uint8_t hello[] = {'h', 'e', 'l', 'l', 'o'};
    ASSERT_TRUE(channel.Send(hello, 5000));
    char got[8] = {};
    EXPECT_EQ(recv(peer, got, sizeof got, 0), 5);
    EXPECT_EQ(std::string(got, 5), "hello");

    send(peer, "abc", 3, 0);
    listener.ClosePeer();
    uint8_t buffer[16];
    size_t received = 0;
    ASSERT_TRUE(channel.Receive(buffer, received, 5000));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), received), "abc");
    EXPECT_EQ(channel.Receive(buffer, received, 5000).kind, LinkStatus::kClosed);
}

TEST_F(SocketChannelTest, ASilentPeerEndsTheWaitAtItsLimit) {
    Listener listener;
    SocketChannel channel;
    ASSERT_TRUE(channel.Connect(listener.address(), 5000));
    listener.Accept();
    uint8_t buffer[16];
    size_t received = 0;
    const LinkStatus status = channel.Receive(buffer, received, 300);
    EXPECT_EQ(status.kind, LinkStatus::kTimedOut);
    EXPECT_EQ(status.detail, 300u);
}

TEST_F(SocketChannelTest, APeerThatReadsNothingEndsTheSendAtItsLimit) {
    Listener listener;
    SocketChannel channel;
    ASSERT_TRUE(channel.Connect(listener.address(), 5000));
    listener.Accept();
    const Bytes flood(64 << 20, 0x5a);  // far beyond what both sides' buffers hold
    EXPECT_EQ(channel.Send(flood, 300).kind, LinkStatus::kTimedOut);
}

// Numeric addresses only: a name would be looked up on the machine's network (names are tried in
// the lab, which has none).
TEST_F(SocketChannelTest, AddressesBecomeSocketAddresses) {
    uint32_t error = 0;
    const auto local = Resolve({"127.0.0.1", 5555}, error);
    ASSERT_TRUE(local);
    EXPECT_EQ(local->sin_addr.s_addr, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(ntohs(local->sin_port), 5555);
}

}  // namespace
