// The user's key under Windows' own crypto: made on first use where Google's client keeps it, read
// back as other tools write it, never overwritten, and signing what the box sends.
#include <windows.h>
#include <wincrypt.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "adb/client/adb_key_check.h"
#include "adb/client/android_public_key.h"
#include "adb/client/base64.h"
#include "adb/client/test_keys.h"
#include "adb/client/user_key.h"
#include "test_support/temp_dir.h"

namespace {

using namespace adb::client;

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::unique_ptr<UserKey> Load(const std::filesystem::path& path, std::string& problem) {
    return UserKey::LoadOrCreate(path.wstring(), problem);
}

const uint8_t kToken[20] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};

// Checks signature with CryptoAPI's own verification against the public key of line.
bool Verifies(const std::string& publicKeyLine, std::span<const uint8_t> token, Bytes signature) {
    const auto blob = Base64Decode(publicKeyLine.substr(0, publicKeyLine.find(' ')));
    if (!blob || blob->size() != kAndroidKeyBlobSize) return false;
    // PUBLICKEYBLOB: BLOBHEADER, RSAPUBKEY, modulus (little-endian, as the Android blob has it).
    Bytes publicBlob = {6, 2, 0, 0};
    AppendLe32(publicBlob, CALG_RSA_SIGN);
    AppendLe32(publicBlob, 0x31415352);  // "RSA1"
    AppendLe32(publicBlob, 2048);
    AppendLe32(publicBlob, GetLe32(blob->data() + 520));
    publicBlob.insert(publicBlob.end(), blob->begin() + 8, blob->begin() + 264);
    HCRYPTPROV provider = 0;
    HCRYPTKEY key = 0;
    HCRYPTHASH hash = 0;
    std::reverse(signature.begin(), signature.end());
    const bool verified =
        CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) &&
        CryptImportKey(provider, publicBlob.data(), static_cast<DWORD>(publicBlob.size()), 0, 0, &key) &&
        CryptCreateHash(provider, CALG_SHA1, 0, 0, &hash) && CryptSetHashParam(hash, HP_HASHVAL, token.data(), 0) &&
        CryptVerifySignatureW(hash, signature.data(), static_cast<DWORD>(signature.size()), key, nullptr, 0);
    if (hash) CryptDestroyHash(hash);
    if (key) CryptDestroyKey(key);
    if (provider) CryptReleaseContext(provider, 0);
    return verified;
}

TEST(UserKey, MadeOnFirstUseAsGooglesClientWritesItAndKeptAfterwards) {
    test_support::TempDir home;
    const auto keyPath = home.path() / ".android" / "adbkey";
    std::string problem;
    const auto first = Load(keyPath, problem);
    ASSERT_TRUE(first) << problem;

    const auto stored = test_support::ExpectAdbKey(ReadText(keyPath));
    ASSERT_TRUE(stored);

    const std::string line = first->PublicKeyLine();
    EXPECT_EQ(ReadText(keyPath.string() + ".pub"), line + "\n");
    const auto blob = AndroidPublicKeyBlob(stored->modulus, stored->publicExponent);
    ASSERT_TRUE(blob);
    EXPECT_EQ(line.substr(0, line.find(' ')), Base64Encode(*blob));
    EXPECT_NE(line.find('@'), std::string::npos) << "user@host comment";

    const std::string keyText = ReadText(keyPath);
    const auto again = Load(keyPath, problem);
    ASSERT_TRUE(again) << problem;
    EXPECT_EQ(again->PublicKeyLine(), line);
    EXPECT_EQ(ReadText(keyPath), keyText);
}

TEST(UserKey, SignaturesVerifyAndRepeat) {
    test_support::TempDir home;
    std::string problem;
    const auto key = Load(home.path() / "adbkey", problem);
    ASSERT_TRUE(key) << problem;
    const auto signature = key->Sign(kToken);
    ASSERT_TRUE(signature);
    EXPECT_EQ(signature->size(), 256u);
    EXPECT_TRUE(Verifies(key->PublicKeyLine(), kToken, *signature));
    EXPECT_EQ(key->Sign(kToken), signature) << "PKCS#1 v1.5 signatures are deterministic";

    uint8_t other[20] = {};
    EXPECT_FALSE(Verifies(key->PublicKeyLine(), other, *signature));
    EXPECT_FALSE(key->Sign(std::span(kToken).first(19))) << "a token is a SHA-1 digest's size";
}

TEST(UserKey, KeysOtherToolsWroteServeAsTheyAre) {
    test_support::TempDir home;
    WriteText(home.path() / "pkcs8", test_keys::kPkcs8);
    WriteText(home.path() / "pkcs1", test_keys::kPkcs1);
    std::string problem;
    const auto pkcs8 = Load(home.path() / "pkcs8", problem);
    const auto pkcs1 = Load(home.path() / "pkcs1", problem);
    ASSERT_TRUE(pkcs8 && pkcs1) << problem;
    EXPECT_EQ(pkcs8->PublicKeyLine(), pkcs1->PublicKeyLine());
    const auto signature = pkcs8->Sign(kToken);
    ASSERT_TRUE(signature);
    EXPECT_EQ(pkcs1->Sign(kToken), signature);
    EXPECT_TRUE(Verifies(pkcs8->PublicKeyLine(), kToken, *signature));
    EXPECT_EQ(ReadText(home.path() / "pkcs8"), test_keys::kPkcs8);
    EXPECT_EQ(ReadText(home.path() / "pkcs8.pub"), pkcs8->PublicKeyLine() + "\n") << "the missing .pub is made";
}

TEST(UserKey, UnusableKeysAreReportedAndNeverReplaced) {
    test_support::TempDir home;
    const std::pair<const char*, std::string> cases[] = {
        {"small", test_keys::kSmall},
        {"damaged", std::string(test_keys::kPkcs8).substr(0, 400) + "\n-----END PRIVATE KEY-----\n"},
        {"text", "not a key at all\n"},
    };
    for (const auto& [name, text] : cases) {
        WriteText(home.path() / name, text);
        std::string problem;
        EXPECT_FALSE(Load(home.path() / name, problem)) << name;
        EXPECT_NE(problem.find(name), std::string::npos) << problem;
        EXPECT_EQ(ReadText(home.path() / name), text) << name << " was rewritten";
    }
    std::string problem;
    EXPECT_FALSE(Load(home.path() / "small", problem));
    EXPECT_NE(problem.find("2048"), std::string::npos) << problem;
}

TEST(UserKey, AFolderThatCannotBeMadeIsReported) {
    test_support::TempDir home;
    WriteText(home.path() / ".android", "a file where the folder should be");
    std::string problem;
    EXPECT_FALSE(Load(home.path() / ".android" / "adbkey", problem));
    EXPECT_NE(problem.find(".android"), std::string::npos) << problem;
}

}  // namespace

namespace {

TEST(UserKey, LivesInTheProfileThatTheEnvironmentOrElseTheShellNames) {
    const std::wstring key = L"\\.android\\adbkey";
    wchar_t saved[MAX_PATH] = {};
    GetEnvironmentVariableW(L"USERPROFILE", saved, MAX_PATH);
    SetEnvironmentVariableW(L"USERPROFILE", L"C:\\Profiles\\我");
    EXPECT_EQ(DefaultKeyPath(), L"C:\\Profiles\\我" + key);
    // Without the variable, where the shell keeps the user's profile.
    SetEnvironmentVariableW(L"USERPROFILE", nullptr);
    wchar_t profile[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, 0, profile), S_OK);
    ASSERT_NE(profile[0], L'\0');
    EXPECT_EQ(DefaultKeyPath(), profile + key);
    SetEnvironmentVariableW(L"USERPROFILE", saved);
}

}  // namespace
