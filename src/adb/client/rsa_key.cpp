#include "adb/client/rsa_key.h"

#include <algorithm>

#include "adb/client/der.h"

namespace adb::client {

namespace {

// 1.2.840.113549.1.1.1, rsaEncryption.
constexpr uint8_t kRsaEncryption[] = {0x2a, 0x86, 0x48, 0x86, 0xf7, 0x0d, 0x01, 0x01, 0x01};
constexpr uint8_t kVersionZero[] = {0};

Bytes EncodeRsaPrivateKey(const RsaKey& key) {
    const Bytes contents = der::Concat({
        der::UnsignedInteger(kVersionZero),
        der::UnsignedInteger(key.modulus),
        der::UnsignedInteger(key.publicExponent),
        der::UnsignedInteger(key.privateExponent),
        der::UnsignedInteger(key.prime1),
        der::UnsignedInteger(key.prime2),
        der::UnsignedInteger(key.exponent1),
        der::UnsignedInteger(key.exponent2),
        der::UnsignedInteger(key.coefficient),
    });
    return der::Element(der::kSequence, contents);
}

// The fields of a SEQUENCE that opens with the version INTEGER 0, from the one after it. (A PKCS#1
// version 1 key carries extra primes, which no adb key has.)
std::optional<der::Reader> FieldsAfterVersionZero(std::span<const uint8_t> der) {
    der::Reader outer(der);
    const auto sequence = outer.Next(der::kSequence);
    if (!sequence) return std::nullopt;
    der::Reader fields(*sequence);
    const auto version = fields.NextUnsignedInteger();
    if (!version || !version->empty()) return std::nullopt;
    return fields;
}

std::optional<RsaKey> DecodeRsaPrivateKey(std::span<const uint8_t> der) {
    auto fields = FieldsAfterVersionZero(der);
    if (!fields) return std::nullopt;
    RsaKey key;
    for (Bytes* number : {&key.modulus, &key.publicExponent, &key.privateExponent, &key.prime1, &key.prime2,
                          &key.exponent1, &key.exponent2, &key.coefficient}) {
        auto value = fields->NextUnsignedInteger();
        if (!value || value->empty()) return std::nullopt;
        *number = std::move(*value);
    }
    return key;
}

}  // namespace

Bytes EncodePkcs8(const RsaKey& key) {
    const Bytes algorithm = der::Element(
        der::kSequence, der::Concat({der::Element(der::kObjectId, kRsaEncryption), der::Element(der::kNull, {})}));
    const Bytes contents = der::Concat({der::UnsignedInteger(kVersionZero), algorithm,
                                        der::Element(der::kOctetString, EncodeRsaPrivateKey(key))});
    return der::Element(der::kSequence, contents);
}

std::optional<RsaKey> DecodePrivateKey(std::span<const uint8_t> der) {
    auto fields = FieldsAfterVersionZero(der);
    if (!fields) return std::nullopt;
    // PKCS#8 goes on with the algorithm; PKCS#1 with the modulus, an INTEGER.
    const auto algorithm = fields->Next(der::kSequence);
    if (!algorithm) return DecodeRsaPrivateKey(der);
    der::Reader algorithmFields(*algorithm);
    const auto oid = algorithmFields.Next(der::kObjectId);
    if (!oid || !std::equal(oid->begin(), oid->end(), std::begin(kRsaEncryption), std::end(kRsaEncryption))) {
        return std::nullopt;
    }
    const auto inner = fields->Next(der::kOctetString);
    if (!inner) return std::nullopt;
    return DecodeRsaPrivateKey(*inner);
}

}  // namespace adb::client
