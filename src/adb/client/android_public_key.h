#pragma once
// The public key as Android's adbd stores and checks it (adbkey.pub, adb_keys, AUTH RSAPUBLICKEY):
// base64 of a 524-byte little-endian blob, then " user@host". The blob holds the word count (64),
// n0inv = -1/n mod 2^32, the modulus, rr = (2^2048)^2 mod n, and the public exponent: what the
// box's Montgomery arithmetic needs to verify a signature.
#include <optional>
#include <string>

#include "adb/client/bytes.h"

namespace adb::client {

constexpr size_t kAndroidKeyBits = 2048;
constexpr size_t kAndroidKeyBlobSize = 524;

// Nothing unless the modulus (big-endian) is exactly 2048 bits, odd, and the exponent fits 32 bits.
std::optional<Bytes> AndroidPublicKeyBlob(std::span<const uint8_t> modulus, std::span<const uint8_t> exponent);

// "base64 comment", the line adbkey.pub holds (without its line end).
std::string AndroidPublicKeyLine(std::span<const uint8_t> blob, std::string_view comment);

}  // namespace adb::client
