// The release check against releases that tools/release-sign signed at build time (the program
// one build on, and the program of this build), with the development key and with another one.
#include "update/release_check.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "update/descriptor_file.h"

namespace {

using update::CheckRelease;
using update::ReleaseVerdict;
using update::UpdateDescriptor;

std::wstring Fixture(const wchar_t* name) { return std::wstring(MIVORA_RELEASE_FIXTURES) + L"/" + name; }

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ReleaseCheck : public testing::Test {
protected:
    ReleaseVerdict Check(const wchar_t* file, const UpdateDescriptor& descriptor,
                         const std::wstring& running = MIVORA_CURRENT_VERSION) {
        return CheckRelease(Fixture(file), descriptor, developmentKey_, running);
    }
    UpdateDescriptor Next() { return update::ReadUpdateDescriptor(Fixture(L"next.ini")); }

    std::vector<uint8_t> developmentKey_ = ReadBytes(Fixture(L"development-public.der"));
};

TEST_F(ReleaseCheck, ASignedNewerReleaseIsGood) {
    ASSERT_FALSE(developmentKey_.empty());
    const UpdateDescriptor next = Next();
    ASSERT_EQ(next.version, MIVORA_NEXT_VERSION);
    EXPECT_EQ(Check(L"next.exe", next), ReleaseVerdict::kGood);
    UpdateDescriptor upper = next;
    for (wchar_t& c : upper.sha256) c = static_cast<wchar_t>(std::towupper(c));
    EXPECT_EQ(Check(L"next.exe", upper), ReleaseVerdict::kGood) << "hex in capitals names the same hash";
    // A running program without a version block takes any signed release.
    EXPECT_EQ(Check(L"next.exe", next, L""), ReleaseVerdict::kGood);
}

TEST_F(ReleaseCheck, AnotherKeysSignatureIsRefused) {
    EXPECT_EQ(Check(L"next.exe", update::ReadUpdateDescriptor(Fixture(L"other-key.ini"))),
              ReleaseVerdict::kBadSignature);
    // And the release key's signature does not pass for the other key's.
    EXPECT_EQ(CheckRelease(Fixture(L"next.exe"), Next(), ReadBytes(Fixture(L"other-public.der")),
                           MIVORA_CURRENT_VERSION),
              ReleaseVerdict::kBadSignature);
}

TEST_F(ReleaseCheck, AChangedFileIsRefusedEvenWithItsOwnHashInTheDescriptor) {
    EXPECT_EQ(Check(L"flipped.exe", Next()), ReleaseVerdict::kWrongHash);
    EXPECT_EQ(Check(L"flipped.exe", update::ReadUpdateDescriptor(Fixture(L"tampered.ini"))),
              ReleaseVerdict::kBadSignature);
}

TEST_F(ReleaseCheck, AWrongOrMissingHashOrSignatureIsRefused) {
    UpdateDescriptor descriptor = Next();
    descriptor.sha256 = std::wstring(64, L'0');
    EXPECT_EQ(Check(L"next.exe", descriptor), ReleaseVerdict::kWrongHash);
    descriptor.sha256 = Next().sha256 + L"00";
    EXPECT_EQ(Check(L"next.exe", descriptor), ReleaseVerdict::kWrongHash);
    descriptor.sha256.clear();
    EXPECT_EQ(Check(L"next.exe", descriptor), ReleaseVerdict::kWrongHash);

    descriptor = Next();
    descriptor.sig.clear();
    EXPECT_EQ(Check(L"next.exe", descriptor), ReleaseVerdict::kBadSignature);
    descriptor.sig = L"not base64 at all!";
    EXPECT_EQ(Check(L"next.exe", descriptor), ReleaseVerdict::kBadSignature);
    // One bit of the signature changed.
    descriptor.sig = Next().sig;
    descriptor.sig[10] = descriptor.sig[10] == L'A' ? L'B' : L'A';
    EXPECT_EQ(Check(L"next.exe", descriptor), ReleaseVerdict::kBadSignature);
    // Cut short.
    descriptor.sig = Next().sig.substr(0, 200);
    EXPECT_EQ(Check(L"next.exe", descriptor), ReleaseVerdict::kBadSignature);
}

TEST_F(ReleaseCheck, AReleaseThatIsNotNewerIsRefusedThoughSigned) {
    const UpdateDescriptor current = update::ReadUpdateDescriptor(Fixture(L"current.ini"));
    EXPECT_EQ(Check(L"current.exe", current), ReleaseVerdict::kNotNewer) << "the same version";
    EXPECT_EQ(Check(L"next.exe", Next(), MIVORA_NEXT_VERSION), ReleaseVerdict::kNotNewer);
    EXPECT_EQ(Check(L"next.exe", Next(), L"1.0.0.10"), ReleaseVerdict::kNotNewer) << "ordered by numbers";
    EXPECT_EQ(Check(L"current.exe", current, L"0.9.0.0"), ReleaseVerdict::kGood);
}

TEST_F(ReleaseCheck, AFileThatIsNotThereCannotBeRead) {
    EXPECT_EQ(Check(L"no-such-release.exe", Next()), ReleaseVerdict::kUnreadable);
}

TEST(ReleaseKey, TheProgramCarriesTheKeyItWasBuiltWith) {
    const std::vector<uint8_t> trusted = ReadBytes(MIVORA_TRUSTED_KEY);
    ASSERT_FALSE(trusted.empty());
    const std::span<const uint8_t> carried = update::ReleasePublicKey();
    EXPECT_EQ(std::vector<uint8_t>(carried.begin(), carried.end()), trusted);
}

}  // namespace
