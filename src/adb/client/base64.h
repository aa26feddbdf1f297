#pragma once
// Base64 (RFC 4648, with padding) for PEM files and Android public keys.
#include <optional>
#include <string>

#include "adb/client/bytes.h"

namespace adb::client {

std::string Base64Encode(std::span<const uint8_t> data);

// Decodes text, skipping line breaks and blanks; nothing when it holds anything else that is not
// base64 or is cut short.
std::optional<Bytes> Base64Decode(std::string_view text);

}  // namespace adb::client
