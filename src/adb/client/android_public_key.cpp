#include "adb/client/android_public_key.h"

#include <array>

#include "adb/client/base64.h"

namespace adb::client {

namespace {

constexpr size_t kWords = kAndroidKeyBits / 32;
using Number = std::array<uint32_t, kWords>;  // little-endian words

// a -= b; returns the borrow out of the top word.
uint32_t Subtract(Number& a, const Number& b) {
    uint64_t borrow = 0;
    for (size_t i = 0; i < kWords; ++i) {
        const uint64_t difference = static_cast<uint64_t>(a[i]) - b[i] - borrow;
        a[i] = static_cast<uint32_t>(difference);
        borrow = (difference >> 32) & 1;
    }
    return static_cast<uint32_t>(borrow);
}

// a <<= 1; returns the bit shifted out of the top word.
uint32_t Double(Number& a) {
    uint32_t carry = 0;
    for (uint32_t& word : a) {
        const uint32_t out = word >> 31;
        word = word << 1 | carry;
        carry = out;
    }
    return carry;
}

bool AtLeast(const Number& a, const Number& b) {
    for (size_t i = kWords; i-- > 0;) {
        if (a[i] != b[i]) return a[i] > b[i];
    }
    return true;
}

// 2^4096 mod n for a 2048-bit n: 2^2048 mod n is 2^2048 - n (n > 2^2047), and each of 2048
// doublings with a conditional subtraction multiplies by two more modulo n.
Number MontgomerySquare(const Number& n) {
    Number r{};
    Subtract(r, n);  // 0 - n wraps to 2^2048 - n
    for (size_t i = 0; i < kAndroidKeyBits; ++i) {
        const uint32_t overflow = Double(r);
        if (overflow || AtLeast(r, n)) Subtract(r, n);
    }
    return r;
}

// -1 / n0 mod 2^32 by Newton's iteration: each round doubles the number of correct low bits.
uint32_t NegativeInverse(uint32_t n0) {
    uint32_t inverse = n0;  // correct to 3 bits for any odd n0
    for (int round = 0; round < 4; ++round) inverse *= 2 - n0 * inverse;
    return 0u - inverse;
}

void AppendNumber(Bytes& out, const Number& number) {
    for (uint32_t word : number) AppendLe32(out, word);
}

}  // namespace

std::optional<Bytes> AndroidPublicKeyBlob(std::span<const uint8_t> modulus, std::span<const uint8_t> exponent) {
    if (modulus.size() != kAndroidKeyBits / 8 || !(modulus.front() & 0x80) || !(modulus.back() & 1)) {
        return std::nullopt;
    }
    if (exponent.empty() || exponent.size() > 4) return std::nullopt;
    Number n{};
    for (size_t i = 0; i < modulus.size(); ++i) {
        const size_t fromLow = modulus.size() - 1 - i;
        n[fromLow / 4] |= static_cast<uint32_t>(modulus[i]) << (8 * (fromLow % 4));
    }
    uint32_t e = 0;
    for (uint8_t byte : exponent) e = e << 8 | byte;

    Bytes blob;
    blob.reserve(kAndroidKeyBlobSize);
    AppendLe32(blob, kWords);
    AppendLe32(blob, NegativeInverse(n[0]));
    AppendNumber(blob, n);
    AppendNumber(blob, MontgomerySquare(n));
    AppendLe32(blob, e);
    return blob;
}

std::string AndroidPublicKeyLine(std::span<const uint8_t> blob, std::string_view comment) {
    return Base64Encode(blob) + " " + std::string(comment);
}

}  // namespace adb::client
