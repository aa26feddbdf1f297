#include "update/release_check.h"

#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <vector>

#include "base/ascii_text.h"
#include "update/file_version.h"
#include "update/version_number.h"

namespace update {

namespace {

constexpr DWORD kSha256Size = 32;
constexpr DWORD kChunk = 64 * 1024;

// The handles one check takes, given back in reverse order.
struct Crypto {
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    HCRYPTKEY key = 0;
    ~Crypto() {
        if (key) CryptDestroyKey(key);
        if (hash) CryptDestroyHash(hash);
        if (provider) CryptReleaseContext(provider, 0);
    }
};

bool HashFile(const std::wstring& path, HCRYPTHASH hash) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<BYTE> chunk(kChunk);
    bool ok = true;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, chunk.data(), kChunk, &read, nullptr)) {
            ok = false;
            break;
        }
        if (!read) break;
        if (!CryptHashData(hash, chunk.data(), read, 0)) {
            ok = false;
            break;
        }
    }
    CloseHandle(file);
    return ok;
}

std::wstring Hex(const BYTE* bytes, DWORD size) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text;
    for (DWORD i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0xF];
    }
    return text;
}

std::vector<BYTE> FromBase64(const std::wstring& text) {
    DWORD size = 0;
    if (text.empty() || !CryptStringToBinaryW(text.c_str(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64,
                                              nullptr, &size, nullptr, nullptr))
        return {};
    std::vector<BYTE> bytes(size);
    if (!CryptStringToBinaryW(text.c_str(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64, bytes.data(), &size,
                              nullptr, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

bool ImportPublicKey(HCRYPTPROV provider, std::span<const uint8_t> der, HCRYPTKEY& key) {
    CERT_PUBLIC_KEY_INFO* info = nullptr;
    DWORD size = 0;
    if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, der.data(), static_cast<DWORD>(der.size()),
                             CRYPT_DECODE_ALLOC_FLAG, nullptr, &info, &size))
        return false;
    const bool imported = CryptImportPublicKeyInfo(provider, X509_ASN_ENCODING, info, &key);
    LocalFree(info);
    return imported;
}

}  // namespace

ReleaseVerdict CheckRelease(const std::wstring& path, const UpdateDescriptor& descriptor,
                            std::span<const uint8_t> publicKey, const std::wstring& runningVersion) {
    Crypto crypto;
    if (!CryptAcquireContextW(&crypto.provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) ||
        !CryptCreateHash(crypto.provider, CALG_SHA_256, 0, 0, &crypto.hash) || !HashFile(path, crypto.hash))
        return ReleaseVerdict::kUnreadable;
    BYTE digest[kSha256Size];
    DWORD digestSize = kSha256Size;
    if (!CryptGetHashParam(crypto.hash, HP_HASHVAL, digest, &digestSize, 0) || digestSize != kSha256Size)
        return ReleaseVerdict::kUnreadable;
    if (!base::EqualsNoCase(descriptor.sha256, Hex(digest, digestSize))) return ReleaseVerdict::kWrongHash;

    // CryptoAPI takes the signature least significant byte first.
    std::vector<BYTE> signature = FromBase64(descriptor.sig);
    std::reverse(signature.begin(), signature.end());
    if (signature.empty() || !ImportPublicKey(crypto.provider, publicKey, crypto.key) ||
        !CryptVerifySignatureW(crypto.hash, signature.data(), static_cast<DWORD>(signature.size()), crypto.key,
                               nullptr, 0))
        return ReleaseVerdict::kBadSignature;

    // Read only from a file known to be a release: an older release, signed as it is, must not
    // take the place of a newer one.
    if (!IsNewerVersion(FileVersionText(path), runningVersion))
        return ReleaseVerdict::kNotNewer;
    return ReleaseVerdict::kGood;
}

}  // namespace update
