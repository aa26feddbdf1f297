#include "adb/client/box_connection.h"

#include "adb/client/client_texts.h"
#include "adb/client/time_limits.h"

namespace adb::client {

ReachResult BoxConnection::Reach(const Endpoint& endpoint, AuthKey* key, bool offerKey) {
    uint32_t error = 0;
    const auto address = Resolve(endpoint, error);
    if (!address) return {ReachResult::kNoAddress, texts::SocketErrorText(error)};
    if (LinkStatus connected = channel_.Connect(*address, kConnectLimitMs); !connected) {
        return {ReachResult::kNoConnection, texts::LinkReason(connected)};
    }
    const HandshakeResult handshake = transport_.Handshake(key, offerKey);
    switch (handshake.outcome) {
        case HandshakeOutcome::kOnline: return {ReachResult::kOnline, {}};
        case HandshakeOutcome::kUnauthorized: return {ReachResult::kUnauthorized, texts::LinkReason(handshake.link)};
        case HandshakeOutcome::kFailed: break;
    }
    return {ReachResult::kNoHandshake, texts::LinkReason(handshake.link)};
}

}  // namespace adb::client
