#pragma once
// Windows CryptoAPI's PRIVATEKEYBLOB for RSA: BLOBHEADER, RSAPUBKEY ("RSA2", bit length, public
// exponent), then modulus, p, q, dP, dQ, qInv and d, each little-endian and of fixed size (the
// halves of the modulus length for the five CRT numbers). The layout is plain data; only the
// key import and export that produce and consume it need Windows.
#include <optional>

#include "adb/client/rsa_key.h"

namespace adb::client {

// The blob's aiKeyAlg for a key that signs: imported so, it serves AT_SIGNATURE.
constexpr uint32_t kCalgRsaSign = 0x00002400;

std::optional<RsaKey> RsaKeyFromPrivateKeyBlob(std::span<const uint8_t> blob);

// The blob for key, marked with the given algorithm; nothing when a number does not fit its field
// or the public exponent needs more than 32 bits.
std::optional<Bytes> PrivateKeyBlobFromRsaKey(const RsaKey& key, uint32_t algorithm);

}  // namespace adb::client
