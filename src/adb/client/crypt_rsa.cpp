#include "adb/client/crypt_rsa.h"

#include <algorithm>

#include "adb/client/private_key_blob.h"

namespace adb::client {

namespace {

constexpr DWORD kKeyBits = 2048;
constexpr size_t kSha1Size = 20;

// An ephemeral key container: nothing is stored in the user's profile by the provider itself.
HCRYPTPROV AcquireProvider() {
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) return 0;
    return provider;
}

class Provider {
public:
    Provider() : handle_(AcquireProvider()) {}
    ~Provider() {
        if (handle_) CryptReleaseContext(handle_, 0);
    }
    Provider(const Provider&) = delete;
    Provider& operator=(const Provider&) = delete;
    HCRYPTPROV get() const { return handle_; }

private:
    HCRYPTPROV handle_;
};

class Key {
public:
    Key() = default;
    ~Key() {
        if (handle_) CryptDestroyKey(handle_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HCRYPTKEY* put() { return &handle_; }
    HCRYPTKEY get() const { return handle_; }

private:
    HCRYPTKEY handle_ = 0;
};

class Hash {
public:
    Hash(HCRYPTPROV provider, ALG_ID algorithm) {
        if (!CryptCreateHash(provider, algorithm, 0, 0, &handle_)) handle_ = 0;
    }
    ~Hash() {
        if (handle_) CryptDestroyHash(handle_);
    }
    Hash(const Hash&) = delete;
    Hash& operator=(const Hash&) = delete;
    HCRYPTHASH get() const { return handle_; }

private:
    HCRYPTHASH handle_ = 0;
};

}  // namespace

std::optional<RsaKey> GenerateRsaKey() {
    Provider provider;
    Key key;
    if (!provider.get() || !CryptGenKey(provider.get(), AT_SIGNATURE, kKeyBits << 16 | CRYPT_EXPORTABLE, key.put())) {
        return std::nullopt;
    }
    DWORD size = 0;
    if (!CryptExportKey(key.get(), 0, PRIVATEKEYBLOB, 0, nullptr, &size)) return std::nullopt;
    Bytes blob(size);
    if (!CryptExportKey(key.get(), 0, PRIVATEKEYBLOB, 0, blob.data(), &size)) return std::nullopt;
    blob.resize(size);
    auto rsaKey = RsaKeyFromPrivateKeyBlob(blob);
    SecureZeroMemory(blob.data(), blob.size());
    return rsaKey;
}

RsaSigner::~RsaSigner() {
    if (key_) CryptDestroyKey(key_);
    if (provider_) CryptReleaseContext(provider_, 0);
}

bool RsaSigner::Load(const RsaKey& key) {
    auto blob = PrivateKeyBlobFromRsaKey(key, CALG_RSA_SIGN);
    if (!blob) return false;
    provider_ = AcquireProvider();
    const bool imported = provider_ && CryptImportKey(provider_, blob->data(), static_cast<DWORD>(blob->size()), 0,
                                                      0, &key_);
    SecureZeroMemory(blob->data(), blob->size());
    return imported;
}

std::optional<Bytes> RsaSigner::SignSha1Digest(std::span<const uint8_t> digest) const {
    if (!key_ || digest.size() != kSha1Size) return std::nullopt;
    Hash hash(provider_, CALG_SHA1);
    if (!hash.get() || !CryptSetHashParam(hash.get(), HP_HASHVAL, digest.data(), 0)) return std::nullopt;
    DWORD size = 0;
    if (!CryptSignHashW(hash.get(), AT_SIGNATURE, nullptr, 0, nullptr, &size)) return std::nullopt;
    Bytes signature(size);
    if (!CryptSignHashW(hash.get(), AT_SIGNATURE, nullptr, 0, signature.data(), &size)) return std::nullopt;
    signature.resize(size);
    // CryptoAPI writes numbers least significant byte first.
    std::reverse(signature.begin(), signature.end());
    return signature;
}

}  // namespace adb::client
