#pragma once
// The key a host proves itself with: it signs the box's token and can be offered to the box's user.
#include <optional>
#include <string>

#include "adb/client/bytes.h"

namespace adb::client {

class AuthKey {
public:
    virtual ~AuthKey() = default;

    // The RSA PKCS#1 v1.5 signature (big-endian) of token taken as a SHA-1 digest.
    virtual std::optional<Bytes> Sign(std::span<const uint8_t> token) = 0;

    // "base64 user@host", as adbkey.pub holds it; empty when there turns out to be no key.
    virtual std::string PublicKeyLine() const = 0;
};

}  // namespace adb::client
