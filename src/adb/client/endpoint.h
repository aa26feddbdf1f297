#pragma once
// A box's address as the command line gives it: "host" or "host:port"; its serial is "host:port".
#include <cstdint>
#include <optional>
#include <string>

namespace adb::client {

constexpr uint16_t kDefaultPort = 5555;

struct Endpoint {
    std::string host;
    uint16_t port = kDefaultPort;

    std::string Serial() const { return host + ":" + std::to_string(port); }
};

// Nothing for an empty host or a port that is not a number from 1 to 65535.
std::optional<Endpoint> ParseEndpoint(std::string_view text);

}  // namespace adb::client
