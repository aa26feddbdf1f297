#pragma once
// The check that a PEM text is what adbkey holds: PKCS#8, RSA, 2048 bits, exponent 65537.
#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "adb/client/pem.h"
#include "adb/client/rsa_key.h"

namespace test_support {

inline std::optional<adb::client::RsaKey> ExpectAdbKey(std::string_view text) {
    const auto pem = adb::client::PemDecode(text);
    EXPECT_TRUE(pem);
    if (!pem) return std::nullopt;
    EXPECT_EQ(pem->label, "PRIVATE KEY");
    const auto key = adb::client::DecodePrivateKey(pem->der);
    EXPECT_TRUE(key);
    if (!key) return std::nullopt;
    EXPECT_EQ(key->modulus.size(), 256u);
    EXPECT_EQ(key->publicExponent, (adb::client::Bytes{0x01, 0x00, 0x01}));
    return key;
}

}  // namespace test_support
