#pragma once
// A connection to one box, from its address to a finished handshake.
#include <string>

#include "adb/client/socket_channel.h"
#include "adb/client/transport.h"

namespace adb::client {

struct ReachResult {
    enum Stage {
        kOnline,
        kNoAddress,     // the host name does not resolve
        kNoConnection,  // TCP failed: refused, unreachable, no answer
        kNoHandshake,   // TCP worked, but no proper ADB answer came
        kUnauthorized,  // the box does not let this computer's key in
    };
    Stage stage = kNoAddress;
    std::string reason;  // why it did not come online, in words
};

class BoxConnection {
public:
    ReachResult Reach(const Endpoint& endpoint, AuthKey* key, bool offerKey);
    Transport& transport() { return transport_; }

private:
    SocketChannel channel_;
    Transport transport_{channel_};  // after the channel: its stream is closed before the socket
};

}  // namespace adb::client
