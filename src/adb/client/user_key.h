#pragma once
// The user's adb key, where Google's client keeps it: %USERPROFILE%\.android\adbkey (PEM, PKCS#8)
// and adbkey.pub (the Android public key line). A box that trusts the key of the user's other adb
// tools trusts this client too. Made on first use.
#include <memory>
#include <string>

#include "adb/client/auth_key.h"
#include "adb/client/crypt_rsa.h"

namespace adb::client {

class UserKey : public AuthKey {
public:
    // The key in the adbkey file at keyPath, made there when there is none (adbkey.pub is written
    // beside it). Nothing when it can be neither read nor made; problem then says why.
    static std::unique_ptr<UserKey> LoadOrCreate(const std::wstring& keyPath, std::string& problem);

    std::optional<Bytes> Sign(std::span<const uint8_t> token) override;
    std::string PublicKeyLine() const override { return publicKeyLine_; }

private:
    RsaSigner signer_;
    std::string publicKeyLine_;
};

// %USERPROFILE%\.android\adbkey.
std::wstring DefaultKeyPath();

}  // namespace adb::client
