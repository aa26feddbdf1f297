#include "adb/client/endpoint.h"

namespace adb::client {

std::optional<Endpoint> ParseEndpoint(std::string_view text) {
    const size_t colon = text.rfind(':');
    Endpoint endpoint{std::string(text.substr(0, colon)), kDefaultPort};
    if (colon != std::string_view::npos) {
        const std::string_view digits = text.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) return std::nullopt;
        uint32_t port = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return std::nullopt;
            port = port * 10 + static_cast<uint32_t>(c - '0');
        }
        if (port == 0 || port > 65535) return std::nullopt;
        endpoint.port = static_cast<uint16_t>(port);
    }
    if (endpoint.host.empty()) return std::nullopt;
    return endpoint;
}

}  // namespace adb::client
