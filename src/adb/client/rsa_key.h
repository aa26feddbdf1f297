#pragma once
// An RSA private key as numbers, and its two DER forms: PKCS#1 RSAPrivateKey and the PKCS#8
// PrivateKeyInfo around it, which is what adbkey holds (PEM "PRIVATE KEY").
#include <optional>

#include "adb/client/bytes.h"

namespace adb::client {

// Every number is an unsigned big-endian magnitude without leading zero bytes.
struct RsaKey {
    Bytes modulus;
    Bytes publicExponent;
    Bytes privateExponent;
    Bytes prime1;
    Bytes prime2;
    Bytes exponent1;    // d mod (p - 1)
    Bytes exponent2;    // d mod (q - 1)
    Bytes coefficient;  // q^-1 mod p

    bool operator==(const RsaKey&) const = default;
};

Bytes EncodePkcs8(const RsaKey& key);

// Reads a PKCS#8 PrivateKeyInfo holding an RSA key, or a bare PKCS#1 RSAPrivateKey.
std::optional<RsaKey> DecodePrivateKey(std::span<const uint8_t> der);

}  // namespace adb::client
