#include "adb/client/private_key_blob.h"

#include <algorithm>

namespace adb::client {

namespace {

constexpr uint8_t kPrivateKeyBlobType = 7;
constexpr uint8_t kBlobVersion = 2;
constexpr uint32_t kRsa2Magic = 0x32415352;
constexpr size_t kHeaderSize = 20;  // BLOBHEADER (8) + RSAPUBKEY (12)

// The blob's numbers in their order, with their sizes in units of half the modulus length.
struct Field {
    Bytes RsaKey::*number;
    size_t halves;
};
constexpr Field kFields[] = {
    {&RsaKey::modulus, 2},   {&RsaKey::prime1, 1},    {&RsaKey::prime2, 1},          {&RsaKey::exponent1, 1},
    {&RsaKey::exponent2, 1}, {&RsaKey::coefficient, 1}, {&RsaKey::privateExponent, 2},
};

Bytes BigEndianFrom(std::span<const uint8_t> littleEndian) {
    Bytes number(littleEndian.rbegin(), littleEndian.rend());
    const auto first = std::find_if(number.begin(), number.end(), [](uint8_t byte) { return byte != 0; });
    number.erase(number.begin(), first);
    return number;
}

Bytes TrimmedBigEndian(uint32_t value) {
    Bytes number;
    for (int shift = 24; shift >= 0; shift -= 8) {
        if (!number.empty() || (value >> shift) & 0xff) number.push_back(static_cast<uint8_t>(value >> shift));
    }
    return number;
}

}  // namespace

std::optional<RsaKey> RsaKeyFromPrivateKeyBlob(std::span<const uint8_t> blob) {
    if (blob.size() < kHeaderSize || blob[0] != kPrivateKeyBlobType || GetLe32(blob.data() + 8) != kRsa2Magic) {
        return std::nullopt;
    }
    const uint32_t bits = GetLe32(blob.data() + 12);
    const size_t half = bits / 16;
    if (bits == 0 || bits % 16 != 0 || blob.size() < kHeaderSize + 9 * half) return std::nullopt;
    RsaKey key;
    key.publicExponent = TrimmedBigEndian(GetLe32(blob.data() + 16));
    size_t at = kHeaderSize;
    for (const Field& field : kFields) {
        key.*field.number = BigEndianFrom(blob.subspan(at, field.halves * half));
        at += field.halves * half;
    }
    return key;
}

std::optional<Bytes> PrivateKeyBlobFromRsaKey(const RsaKey& key, uint32_t algorithm) {
    const size_t half = (key.modulus.size() + 1) / 2;
    if (key.publicExponent.empty() || key.publicExponent.size() > 4) return std::nullopt;
    uint32_t exponent = 0;
    for (uint8_t byte : key.publicExponent) exponent = exponent << 8 | byte;

    Bytes blob(kHeaderSize + 9 * half);
    blob[0] = kPrivateKeyBlobType;
    blob[1] = kBlobVersion;
    PutLe32(blob.data() + 4, algorithm);
    PutLe32(blob.data() + 8, kRsa2Magic);
    PutLe32(blob.data() + 12, static_cast<uint32_t>(half * 16));
    PutLe32(blob.data() + 16, exponent);
    size_t at = kHeaderSize;
    for (const Field& field : kFields) {
        const Bytes& number = key.*field.number;
        if (number.size() > field.halves * half) return std::nullopt;
        std::copy(number.rbegin(), number.rend(), blob.begin() + static_cast<ptrdiff_t>(at));
        at += field.halves * half;
    }
    return blob;
}

}  // namespace adb::client
