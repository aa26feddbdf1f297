#pragma once
// Shell protocol v2 (boxes listing "shell_v2"): the box frames its side of a shell stream as
// packets of a 1-byte id, a little-endian length and data: stdout, stderr, and the exit status.
// Packets may be cut anywhere by the transport, so the reader keeps state between calls.
#include <array>
#include <optional>
#include <string>

#include "adb/client/bytes.h"

namespace adb::client {

class ShellV2Reader {
public:
    struct Output {
        std::string out;
        std::string err;
    };

    // The stdout and stderr text carried by these bytes (parts of packets included).
    Output Feed(std::span<const uint8_t> bytes);

    // The command's exit status, once its packet has arrived.
    std::optional<int> ExitStatus() const { return exitStatus_; }

private:
    enum PacketId : uint8_t { kStdout = 1, kStderr = 2, kExit = 3 };

    std::array<uint8_t, 5> header_{};
    size_t headerFill_ = 0;
    uint8_t id_ = 0;
    uint32_t remaining_ = 0;  // data bytes of the current packet still to come
    std::optional<int> exitStatus_;
};

}  // namespace adb::client
