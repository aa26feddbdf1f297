// libFuzzer target for the files our client keeps in the user's folder: the private key (PEM,
// PKCS#8 or PKCS#1 DER), the key as CryptoAPI's private key blob, and the list of boxes it knows.
// Any of them can be damaged on disk or written by another tool; reading must fail cleanly, and
// what is read must be written back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "adb/client/known_devices.h"
#include "adb/client/pem.h"
#include "adb/client/private_key_blob.h"
#include "adb/client/rsa_key.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace adb::client;

void CheckKey(const RsaKey& key) {
    const auto again = DecodePrivateKey(EncodePkcs8(key));
    FUZZ_CHECK(again && *again == key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const std::string_view text = AsText(bytes);

    if (const auto block = PemDecode(text)) {
        const auto again = PemDecode(PemEncode(block->label, block->der));
        FUZZ_CHECK(again && again->label == block->label && again->der == block->der);
        if (const auto key = DecodePrivateKey(block->der)) CheckKey(*key);
    }
    if (const auto key = DecodePrivateKey(bytes)) CheckKey(*key);
    // A real key's modulus fills its field (its top bit is set) and its public exponent is not
    // zero; such a key must be written back as it was read. Blobs that break either are no keys.
    if (const auto key = RsaKeyFromPrivateKeyBlob(bytes);
        key && key->modulus.size() * 8 == GetLe32(data + 12) && !key->publicExponent.empty()) {
        const auto blob = PrivateKeyBlobFromRsaKey(*key, kCalgRsaSign);
        FUZZ_CHECK(blob.has_value());
        const auto again = RsaKeyFromPrivateKeyBlob(*blob);
        FUZZ_CHECK(again && *again == *key);
    }

    const KnownDevices devices = KnownDevices::FromText(text);
    const KnownDevices again = KnownDevices::FromText(devices.Text());
    FUZZ_CHECK(again.Serials() == devices.Serials());
    for (const std::string& serial : devices.Serials()) FUZZ_CHECK(devices.Contains(serial) && !serial.empty());
    return 0;
}
