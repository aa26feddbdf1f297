#pragma once
// What became of an exchange with a box.
#include <cstdint>

namespace adb::client {

struct LinkStatus {
    enum Kind : uint8_t {
        kOk,
        kClosed,        // the box closed the connection
        kTimedOut,      // no answer within the limit (detail: the limit in milliseconds)
        kNetworkError,  // the socket layer failed (detail: its error code)
        kNotAdb,        // the box sent bytes that are no transport message
        kRefused,       // the box refused to open the service
        kStreamEnded,   // the box closed the stream
        kTooMuchData,   // the box sent more than the client keeps for what it is waiting for
    };
    Kind kind = kOk;
    uint32_t detail = 0;

    explicit operator bool() const { return kind == kOk; }
};

}  // namespace adb::client
