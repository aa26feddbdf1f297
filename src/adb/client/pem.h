#pragma once
// PEM armour: "-----BEGIN <label>-----", base64 lines, "-----END <label>-----".
#include <optional>
#include <string>

#include "adb/client/bytes.h"

namespace adb::client {

struct PemBlock {
    std::string label;
    Bytes der;
};

// Lines of 64 characters, each ended by "\n", as OpenSSL writes them.
std::string PemEncode(std::string_view label, std::span<const uint8_t> der);

// The first block of text (LF or CRLF line ends); nothing when there is none or it is damaged.
std::optional<PemBlock> PemDecode(std::string_view text);

}  // namespace adb::client
