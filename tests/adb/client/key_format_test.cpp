// Key files and key arithmetic: base64, DER, PEM, PKCS#8/PKCS#1, CryptoAPI's key blob and
// Android's public key blob, on keys that OpenSSL made.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "adb/client/adb_key_check.h"
#include "adb/client/android_public_key.h"
#include "adb/client/base64.h"
#include "adb/client/der.h"
#include "adb/client/pem.h"
#include "adb/client/private_key_blob.h"
#include "adb/client/rsa_key.h"
#include "adb/client/test_keys.h"

namespace {

using namespace adb::client;

Bytes Of(std::string_view text) { return Bytes(text.begin(), text.end()); }

RsaKey OpenSslKey() {
    const auto pem = PemDecode(test_keys::kPkcs8);
    EXPECT_TRUE(pem);
    const auto key = DecodePrivateKey(pem->der);
    EXPECT_TRUE(key);
    return *key;
}

TEST(Base64, RfcVectorsBothWays) {
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"}};
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(Base64Encode(Of(plain)), encoded);
        EXPECT_EQ(Base64Decode(encoded), Of(plain)) << encoded;
    }
    Bytes every(256);
    for (int i = 0; i < 256; ++i) every[i] = static_cast<uint8_t>(255 - i);
    EXPECT_EQ(Base64Decode(Base64Encode(every)), every);
}

TEST(Base64, LineBreaksAreSkippedAndDamageIsRefused) {
    EXPECT_EQ(Base64Decode("Zm9v\r\nYmFy\n"), Of("foobar"));
    EXPECT_EQ(Base64Decode("Zm9 vYg =="), Of("foob"));
    EXPECT_FALSE(Base64Decode("Zm9v!"));
    EXPECT_FALSE(Base64Decode("Zm9vY"));      // a lone digit carries no byte
    EXPECT_FALSE(Base64Decode("Zg==Zg=="));   // data after the padding
    EXPECT_FALSE(Base64Decode("Zm8"));        // unpadded
    EXPECT_FALSE(Base64Decode("===="));
}

TEST(Der, IntegersLengthsAndReading) {
    const uint8_t small[] = {0x00, 0x00, 0x7f};
    EXPECT_EQ(der::UnsignedInteger(small), (Bytes{0x02, 0x01, 0x7f}));
    const uint8_t high[] = {0x80};
    EXPECT_EQ(der::UnsignedInteger(high), (Bytes{0x02, 0x02, 0x00, 0x80}));
    EXPECT_EQ(der::UnsignedInteger({}), (Bytes{0x02, 0x01, 0x00}));

    const Bytes big(300, 0x11);
    const Bytes element = der::Element(der::kOctetString, big);
    ASSERT_EQ(element.size(), 4u + 300u);
    EXPECT_EQ((Bytes(element.begin(), element.begin() + 4)), (Bytes{0x04, 0x82, 0x01, 0x2c}));

    const Bytes sequence = der::Element(der::kSequence, der::Concat({der::UnsignedInteger(high), element}));
    der::Reader outer(sequence);
    EXPECT_FALSE(outer.Next(der::kInteger));  // wrong tag: nothing, and no progress
    const auto contents = outer.Next(der::kSequence);
    ASSERT_TRUE(contents);
    EXPECT_TRUE(outer.AtEnd());
    der::Reader inner(*contents);
    EXPECT_EQ(inner.NextUnsignedInteger(), (Bytes{0x80}));
    EXPECT_EQ(inner.Next(der::kOctetString)->size(), 300u);
    EXPECT_TRUE(inner.AtEnd());
}

TEST(Der, DamagedElementsAreRefused) {
    EXPECT_FALSE(der::Reader(Bytes{0x02, 0x05, 0x01}).Next(der::kInteger));           // cut short
    EXPECT_FALSE(der::Reader(Bytes{0x02, 0x85, 0, 0, 0, 0, 1}).Next(der::kInteger));  // absurd length
    EXPECT_FALSE(der::Reader(Bytes{0x02, 0x01, 0xff}).NextUnsignedInteger());         // negative
    EXPECT_FALSE(der::Reader(Bytes{0x02}).Next(der::kInteger));
}

TEST(PrivateKeyFiles, OpenSslKeysReadAndWriteBackByteForByte) {
    const auto key = test_support::ExpectAdbKey(test_keys::kPkcs8);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->prime1.size(), 128u);
    const auto pkcs8 = PemDecode(test_keys::kPkcs8);
    // Our encoding is the one OpenSSL wrote: DER has only one.
    EXPECT_EQ(EncodePkcs8(*key), pkcs8->der);
    EXPECT_EQ(PemEncode("PRIVATE KEY", EncodePkcs8(*key)), test_keys::kPkcs8);

    const auto pkcs1 = PemDecode(test_keys::kPkcs1);
    ASSERT_TRUE(pkcs1);
    EXPECT_EQ(pkcs1->label, "RSA PRIVATE KEY");
    EXPECT_EQ(DecodePrivateKey(pkcs1->der), key);
}

TEST(PrivateKeyFiles, CrLfAndDamage) {
    std::string crlf;
    for (char c : std::string_view(test_keys::kPkcs8)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const auto decoded = PemDecode(crlf);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(DecodePrivateKey(decoded->der), OpenSslKey());

    std::string cut(test_keys::kPkcs8);
    cut.erase(cut.find("-----END"));
    EXPECT_FALSE(PemDecode(cut));
    EXPECT_FALSE(PemDecode("no key here"));

    Bytes der = PemDecode(test_keys::kPkcs8)->der;
    der.resize(der.size() - 10);
    EXPECT_FALSE(DecodePrivateKey(der));
    // An EC key's PKCS#8 names another algorithm.
    Bytes other = PemDecode(test_keys::kPkcs8)->der;
    const uint8_t rsaOid[] = {0x2a, 0x86, 0x48, 0x86, 0xf7, 0x0d, 0x01, 0x01, 0x01};
    auto at = std::search(other.begin(), other.end(), std::begin(rsaOid), std::end(rsaOid));
    ASSERT_NE(at, other.end());
    at[8] = 0x02;
    EXPECT_FALSE(DecodePrivateKey(other));
}

TEST(PrivateKeyBlob, RoundTripAndLayout) {
    const RsaKey key = OpenSslKey();
    const auto blob = PrivateKeyBlobFromRsaKey(key, kCalgRsaSign);
    ASSERT_TRUE(blob);
    ASSERT_EQ(blob->size(), 20u + 9 * 128u);
    EXPECT_EQ((*blob)[0], 7);  // PRIVATEKEYBLOB
    EXPECT_EQ(GetLe32(blob->data() + 4), kCalgRsaSign);
    EXPECT_EQ(std::string(blob->begin() + 8, blob->begin() + 12), "RSA2");
    EXPECT_EQ(GetLe32(blob->data() + 12), 2048u);
    EXPECT_EQ(GetLe32(blob->data() + 16), 65537u);
    // The modulus follows, least significant byte first.
    EXPECT_EQ((*blob)[20], key.modulus.back());
    EXPECT_EQ((*blob)[20 + 255], key.modulus.front());
    EXPECT_EQ(RsaKeyFromPrivateKeyBlob(*blob), key);
}

TEST(PrivateKeyBlob, NumbersThatDoNotFitAreRefused) {
    RsaKey key = OpenSslKey();
    key.prime1.insert(key.prime1.begin(), 1);  // one byte more than half the modulus
    EXPECT_FALSE(PrivateKeyBlobFromRsaKey(key, kCalgRsaSign));
    key = OpenSslKey();
    key.publicExponent = {1, 0, 0, 0, 1};
    EXPECT_FALSE(PrivateKeyBlobFromRsaKey(key, kCalgRsaSign));
    EXPECT_FALSE(RsaKeyFromPrivateKeyBlob(Bytes(40, 0)));
}

// n = 2^2048 - c: then 2^2048 = c (mod n), so rr = 2^4096 mod n = c^2 when c^2 < n.
Bytes ModulusBelowPowerOfTwo(uint64_t c) {
    Bytes n(256, 0xff);
    uint64_t borrow = c - 1;  // 2^2048 - c = (2^2048 - 1) - (c - 1)
    for (size_t i = 0; i < 8; ++i) {
        n[255 - i] = static_cast<uint8_t>(0xff - ((borrow >> (8 * i)) & 0xff));
    }
    return n;
}

// c^2 in four little-endian words, by schoolbook multiplication of 32-bit halves.
std::array<uint32_t, 4> Square(uint64_t c) {
    const uint32_t halves[2] = {static_cast<uint32_t>(c), static_cast<uint32_t>(c >> 32)};
    std::array<uint32_t, 4> product{};
    for (int i = 0; i < 2; ++i) {
        uint64_t carry = 0;
        for (int j = 0; j < 2; ++j) {
            const uint64_t term = static_cast<uint64_t>(halves[i]) * halves[j] + product[i + j] + carry;
            product[i + j] = static_cast<uint32_t>(term);
            carry = term >> 32;
        }
        product[i + 2] = static_cast<uint32_t>(carry);
    }
    return product;
}

TEST(AndroidPublicKey, MontgomeryNumbersAgainstKnownModuli) {
    const uint8_t exponent[] = {0x01, 0x00, 0x01};
    for (uint64_t c : {189ull, 0xfffffffbull, 0x1234567890abcdefull | 1}) {
        const Bytes modulus = ModulusBelowPowerOfTwo(c);
        const auto blob = AndroidPublicKeyBlob(modulus, exponent);
        ASSERT_TRUE(blob) << c;
        ASSERT_EQ(blob->size(), kAndroidKeyBlobSize);
        EXPECT_EQ(GetLe32(blob->data()), 64u);
        const uint32_t n0 = GetLe32(blob->data() + 8);
        EXPECT_EQ(n0 * GetLe32(blob->data() + 4), 0xffffffffu) << "n0inv is not -1/n0";
        // rr, 64 words from byte 264, must be c^2: its four words at the bottom.
        const auto square = Square(c);
        for (size_t word = 0; word < 64; ++word) {
            const uint32_t expected = word < 4 ? square[word] : 0;
            ASSERT_EQ(GetLe32(blob->data() + 264 + 4 * word), expected) << "c=" << c << " word " << word;
        }
        EXPECT_EQ(GetLe32(blob->data() + 520), 65537u);
    }
}

TEST(AndroidPublicKey, RealKeyLayoutAndRefusals) {
    const RsaKey key = OpenSslKey();
    const auto blob = AndroidPublicKeyBlob(key.modulus, key.publicExponent);
    ASSERT_TRUE(blob);
    EXPECT_EQ(Bytes(blob->begin() + 8, blob->begin() + 264), Bytes(key.modulus.rbegin(), key.modulus.rend()));
    const std::string line = AndroidPublicKeyLine(*blob, "user@pc");
    EXPECT_EQ(line.size(), 700u + 8u);
    EXPECT_EQ(Base64Decode(line.substr(0, 700)), blob);
    EXPECT_TRUE(line.ends_with(" user@pc"));

    const auto small = DecodePrivateKey(PemDecode(test_keys::kSmall)->der);
    ASSERT_TRUE(small);
    EXPECT_FALSE(AndroidPublicKeyBlob(small->modulus, small->publicExponent)) << "Android takes 2048 bits only";
    Bytes even = key.modulus;
    even.back() &= 0xfe;
    EXPECT_FALSE(AndroidPublicKeyBlob(even, key.publicExponent));
}

}  // namespace
