#pragma once
// RSA through Windows' own CryptoAPI (the Microsoft enhanced provider, rsaenh, which Wine has too):
// making a key pair and signing the box's token. Keys cross the API as PRIVATEKEYBLOBs.
#include <windows.h>
#include <wincrypt.h>

#include <optional>

#include "adb/client/rsa_key.h"

namespace adb::client {

// A fresh 2048-bit key pair with the public exponent 65537.
std::optional<RsaKey> GenerateRsaKey();

class RsaSigner {
public:
    RsaSigner() = default;
    ~RsaSigner();
    RsaSigner(const RsaSigner&) = delete;
    RsaSigner& operator=(const RsaSigner&) = delete;

    // False when the provider refuses the key.
    bool Load(const RsaKey& key);

    // PKCS#1 v1.5 signature of a 20-byte value taken as a SHA-1 digest, big-endian as the box
    // reads it.
    std::optional<Bytes> SignSha1Digest(std::span<const uint8_t> digest) const;

private:
    HCRYPTPROV provider_ = 0;
    HCRYPTKEY key_ = 0;
};

}  // namespace adb::client
