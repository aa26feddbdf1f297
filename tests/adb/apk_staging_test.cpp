// Staging with real files: a hard link where the staging folder shares the APK's volume, a copy
// where it does not or where the APK is read-only; in every case the user's APK ends as it began.
#include "adb/apk_staging.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "test_support/files.h"
#include "test_support/temp_dir.h"

namespace {

using namespace adb;
namespace fs = std::filesystem;
using test_support::ReadAll;
using test_support::WriteAll;

// (volume serial, file index, names) of a file.
struct FileIdentity {
    DWORD volume = 0;
    uint64_t index = 0;
    DWORD links = 0;
};

FileIdentity IdentityOf(const fs::path& path) {
    FileIdentity identity;
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION information{};
    if (file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &information)) {
        identity.volume = information.dwVolumeSerialNumber;
        identity.index = static_cast<uint64_t>(information.nFileIndexHigh) << 32 | information.nFileIndexLow;
        identity.links = information.nNumberOfLinks;
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return identity;
}

class Staging : public ::testing::Test {
protected:
    void SetUp() override {
        // The staging folder is found once per process: every case stages below this one.
        SetEnvironmentVariableW(L"TEMP", kTemp().c_str());
        SetEnvironmentVariableW(L"TMP", kTemp().c_str());
    }
    static const fs::path& kTemp() {
        static const test_support::TempDir temp;
        return temp.path();
    }

    // Stages the APK and checks that the staged file holds its bytes and is gone after removal,
    // while the APK keeps its bytes and attributes. The staged file's names, while it was there.
    DWORD StageAndRemove(const fs::path& apk, const std::string& bytes) {
        const DWORD attributes = GetFileAttributesW(apk.c_str());
        const StagedApk staged = StageApk(apk.wstring());
        EXPECT_FALSE(staged.path.empty());
        if (staged.path.empty()) return 0;
        EXPECT_EQ(fs::path(staged.path).parent_path().parent_path(), kTemp() / L"mivoraapk");
        EXPECT_EQ(staged.bytes, bytes.size());
        EXPECT_EQ(ReadAll(staged.path), bytes);
        const FileIdentity identity = IdentityOf(staged.path);
        RemoveStagedCopy(staged.path);
        EXPECT_FALSE(fs::exists(staged.path));
        EXPECT_EQ(ReadAll(apk), bytes);
        EXPECT_EQ(GetFileAttributesW(apk.c_str()), attributes) << "the user's APK was changed";
        EXPECT_EQ(IdentityOf(apk).links, 1u);
        return identity.links;
    }

    const fs::path temp_ = kTemp();
    test_support::TempDir apps_;
};

TEST_F(Staging, OnTheApksVolumeTheStagedFileIsALinkToIt) {
    const fs::path apk = apps_.path() / L"我的 应用.apk";
    const std::string bytes(300 * 1024, 'P');
    WriteAll(apk, bytes);
    // A hidden APK: a link shares the attributes, and its removal must not clear them.
    ASSERT_TRUE(SetFileAttributesW(apk.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    const FileIdentity before = IdentityOf(apk);
    const StagedApk staged = StageApk(apk.wstring());
    ASSERT_FALSE(staged.path.empty());
    const FileIdentity link = IdentityOf(staged.path);
    EXPECT_EQ(link.links, 2u);
    EXPECT_EQ(link.index, before.index);
    EXPECT_EQ(link.volume, before.volume);
    RemoveStagedCopy(staged.path);
    EXPECT_EQ(StageAndRemove(apk, bytes), 2u);
}

TEST_F(Staging, AReadOnlyApkIsCopiedAndStaysReadOnly) {
    const fs::path apk = apps_.path() / L"ro.apk";
    WriteAll(apk, "read only APK");
    ASSERT_TRUE(SetFileAttributesW(apk.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(StageAndRemove(apk, "read only APK"), 1u);
    EXPECT_TRUE(GetFileAttributesW(apk.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(apk.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Staging, OnAnotherVolumeTheApkIsCopied) {
    // Under Wine, /dev/shm is another file system than the prefix's temporary folder, where no
    // link can reach; on Windows, another drive.
    const fs::path other = LR"(Z:\dev\shm)";
    const fs::path folder = other / (L"mivora-staging-" + std::to_wstring(GetCurrentProcessId()));
    std::error_code error;
    if (!fs::is_directory(other, error) || !fs::create_directories(folder, error)) {
        GTEST_SKIP() << "no second volume here";
    }
    const fs::path apk = folder / L"elsewhere.apk";
    const std::string bytes(1024 * 1024 + 7, 'Q');
    WriteAll(apk, bytes);
    const fs::path probe = temp_ / L"link-probe";
    const bool linkable = CreateHardLinkW(probe.c_str(), apk.c_str(), nullptr);
    fs::remove(probe, error);
    if (linkable) {
        fs::remove_all(folder, error);
        GTEST_SKIP() << "Z:\\dev\\shm shares the temporary folder's volume here";
    }
    EXPECT_EQ(StageAndRemove(apk, bytes), 1u);
    fs::remove_all(folder, error);
}

TEST_F(Staging, AMissingApkStagesNothing) {
    EXPECT_TRUE(StageApk((apps_.path() / L"gone.apk").wstring()).path.empty());
    EXPECT_TRUE(StageApk(apps_.path().wstring()).path.empty()) << "a folder is no APK";
}

}  // namespace
