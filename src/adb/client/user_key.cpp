#include "adb/client/user_key.h"

#include <shlobj.h>

#include "adb/client/android_public_key.h"
#include "adb/client/client_texts.h"
#include "adb/client/local_file.h"
#include "adb/client/pem.h"
#include "adb/client/text_encoding.h"

namespace adb::client {

namespace {

constexpr std::string_view kPemLabel = "PRIVATE KEY";

// "user@computer", the comment the box shows its user beside the key.
std::string KeyComment() {
    wchar_t user[256] = {};
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD userSize = 256;
    DWORD computerSize = MAX_COMPUTERNAME_LENGTH + 1;
    const std::string userName = GetUserNameW(user, &userSize) ? Utf8(user) : "unknown";
    const std::string computerName = GetComputerNameW(computer, &computerSize) ? Utf8(computer) : "unknown";
    return userName + "@" + computerName;
}

std::string FileProblem(const std::wstring& path, const std::string& what, uint32_t error) {
    return "adb: " + what + " " + Utf8(path) + ": " + texts::FileErrorText(error) + "\n";
}

// Reads the key file, or makes a new key and writes it there when there is no file.
std::optional<RsaKey> ReadOrMakeKey(const std::wstring& keyPath, std::string& problem) {
    uint32_t error = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (const auto text = ReadSmallFile(keyPath, error)) {
            const auto pem = PemDecode(*text);
            auto key = pem ? DecodePrivateKey(pem->der) : std::nullopt;
            if (!key) problem = "adb: " + Utf8(keyPath) + " holds no RSA private key\n";
            return key;
        }
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            problem = FileProblem(keyPath, "cannot read", error);
            return std::nullopt;
        }
        const std::wstring folder = FolderOf(keyPath);
        if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            problem = FileProblem(folder, "cannot create", GetLastError());
            return std::nullopt;
        }
        auto key = GenerateRsaKey();
        if (!key) {
            problem = "adb: Windows could not make an RSA key\n";
            return std::nullopt;
        }
        // Another client may be making one at the same moment: the first file wins, the others
        // read it on the second round.
        if (WriteNewFile(keyPath, PemEncode(kPemLabel, EncodePkcs8(*key)), error)) return key;
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            problem = FileProblem(keyPath, "cannot write", error);
            return std::nullopt;
        }
    }
    problem = FileProblem(keyPath, "cannot read", error);
    return std::nullopt;
}

}  // namespace

std::wstring DefaultKeyPath() {
    wchar_t profile[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        profile[0] = L'\0';
        // Loaded only here: the shell's library and all it brings would lengthen every start of
        // the client, which the program makes once for each command.
        using FolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
        if (const HMODULE shell = LoadLibraryW(L"shell32.dll")) {
            if (const auto folderPath = reinterpret_cast<FolderPathFn>(
                    reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathW"))))
                folderPath(nullptr, CSIDL_PROFILE, nullptr, 0, profile);
            FreeLibrary(shell);
        }
    }
    return std::wstring(profile) + L"\\.android\\adbkey";
}

std::unique_ptr<UserKey> UserKey::LoadOrCreate(const std::wstring& keyPath, std::string& problem) {
    const auto key = ReadOrMakeKey(keyPath, problem);
    if (!key) return nullptr;
    const auto blob = AndroidPublicKeyBlob(key->modulus, key->publicExponent);
    if (!blob) {
        problem = "adb: " + Utf8(keyPath) + " is not a 2048-bit RSA key, the only kind Android accepts\n";
        return nullptr;
    }
    auto userKey = std::unique_ptr<UserKey>(new UserKey);
    if (!userKey->signer_.Load(*key)) {
        problem = "adb: Windows refused the key in " + Utf8(keyPath) + "\n";
        return nullptr;
    }
    userKey->publicKeyLine_ = AndroidPublicKeyLine(*blob, KeyComment());
    // Google's tools write the public half beside the private one; a missing one is made again.
    uint32_t ignored = 0;
    WriteNewFile(keyPath + L".pub", userKey->publicKeyLine_ + "\n", ignored);
    return userKey;
}

std::optional<Bytes> UserKey::Sign(std::span<const uint8_t> token) { return signer_.SignSha1Digest(token); }

}  // namespace adb::client
