// Extraction from the test program's own resources into a private temporary folder.
#include "app/tool_store.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "test_support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string Payload() {
    std::string s;
    for (int i = 0; i < 2000; ++i) s += "MZ fake adb client ";
    return s;
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every tool of the program, each from the good test image (30001); 39999 has no image at all.
const std::vector<app::ToolFile> kTools = {{30001, L"adbwinapi.dll"}, {39999, L"adbwinusbapi.dll"}, {30001, L"adb.exe"}};

class ToolStore : public ::testing::Test {
protected:
    void SetUp() override { UseTemp(temp_.path()); }
    void TearDown() override {
        SetEnvironmentVariableW(L"TMP", savedTmp_.c_str());
        SetEnvironmentVariableW(L"TEMP", savedTemp_.c_str());
    }
    void UseTemp(const fs::path& dir) {
        SetEnvironmentVariableW(L"TMP", dir.c_str());
        SetEnvironmentVariableW(L"TEMP", dir.c_str());
    }
    fs::path Folder(const wchar_t* name = L"adb_local") const { return temp_.path() / name; }
    std::vector<fs::path> Extract() {
        const std::vector<std::wstring> paths = app::ExtractTools(kTools);
        return std::vector<fs::path>(paths.begin(), paths.end());
    }
    // What the folders hold besides the tools themselves (part-written copies, say).
    std::vector<fs::path> Strays() const {
        std::vector<fs::path> strays;
        for (const auto& entry : fs::recursive_directory_iterator(temp_.path())) {
            const auto name = entry.path().filename();
            if (entry.is_regular_file() && name != L"adb.exe" && name != L"adbwinapi.dll") strays.push_back(entry.path());
        }
        return strays;
    }

    test_support::TempDir temp_;

private:
    static std::wstring Env(const wchar_t* name) {
        wchar_t value[MAX_PATH] = {};
        GetEnvironmentVariableW(name, value, MAX_PATH);
        return value;
    }
    std::wstring savedTmp_ = Env(L"TMP"), savedTemp_ = Env(L"TEMP");
};

TEST_F(ToolStore, WritesEveryToolWithAnImageIntoTheToolsFolder) {
    EXPECT_EQ(Extract(), (std::vector<fs::path>{Folder() / L"adbwinapi.dll", L"", Folder() / L"adb.exe"}));
    EXPECT_EQ(Contents(Folder() / L"adb.exe"), Payload());
    EXPECT_FALSE(fs::exists(Folder() / L"adbwinusbapi.dll"));
    EXPECT_TRUE(Strays().empty());
}

TEST_F(ToolStore, CreatesAMissingFolderWithItsParents) {
    const auto nested = temp_.path() / L"一层" / L"two";
    UseTemp(nested);
    EXPECT_EQ(Extract().back(), nested / L"adb_local" / L"adb.exe");
    EXPECT_EQ(Contents(nested / L"adb_local" / L"adb.exe"), Payload());
}

TEST_F(ToolStore, AFileThatIsNotItsImageIsReplaced) {
    // Cut short by a run killed while writing; an older client; one made read-only by someone.
    Write(Folder() / L"adb.exe", Payload().substr(0, 1000));
    Write(Folder() / L"adbwinapi.dll", "old library");
    SetFileAttributesW((Folder() / L"adbwinapi.dll").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Extract().back(), Folder() / L"adb.exe");
    EXPECT_EQ(Contents(Folder() / L"adb.exe"), Payload());
    EXPECT_EQ(Contents(Folder() / L"adbwinapi.dll"), Payload());
    EXPECT_EQ(GetFileAttributesW((Folder() / L"adbwinapi.dll").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    // Same size, other bytes.
    std::string planted = Payload();
    planted[planted.size() / 2] ^= 1;
    Write(Folder() / L"adb.exe", planted);
    Extract();
    EXPECT_EQ(Contents(Folder() / L"adb.exe"), Payload());
    EXPECT_TRUE(Strays().empty());
}

TEST_F(ToolStore, AFileThatIsItsImageIsUsedWithoutBeingWrittenAgain) {
    Extract();
    // A client of this very version running from the folder: it cannot be replaced, and need not be.
    const HANDLE running = CreateFileW((Folder() / L"adb.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Extract().back(), Folder() / L"adb.exe");
    CloseHandle(running);
    EXPECT_FALSE(fs::exists(Folder(L"adb_local.1")));
}

TEST_F(ToolStore, AWrongFileThatCannotBeReplacedMakesAFreshFolderBeside) {
    Write(Folder() / L"adb.exe", "an older client, still running");
    const HANDLE running = CreateFileW((Folder() / L"adb.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
    // The next folder is in the same state: the one after it is taken.
    Write(Folder(L"adb_local.1") / L"adb.exe", "another older client, still running");
    const HANDLE alsoRunning = CreateFileW((Folder(L"adb_local.1") / L"adb.exe").c_str(), GENERIC_READ,
                                           FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(alsoRunning, INVALID_HANDLE_VALUE);

    const std::vector<fs::path> paths = Extract();
    EXPECT_EQ(paths.front(), Folder(L"adb_local.2") / L"adbwinapi.dll") << "the client finds its libraries beside it";
    EXPECT_EQ(paths.back(), Folder(L"adb_local.2") / L"adb.exe");
    EXPECT_EQ(Contents(paths.back()), Payload());
    CloseHandle(running);
    CloseHandle(alsoRunning);
    EXPECT_EQ(Contents(Folder() / L"adb.exe"), "an older client, still running");
    EXPECT_TRUE(Strays().empty()) << "no part-written copy stays behind";
    // Once the old client has ended, the first folder is right again.
    EXPECT_EQ(Extract().back(), Folder() / L"adb.exe");
    EXPECT_EQ(Contents(Folder() / L"adb.exe"), Payload());
}

TEST_F(ToolStore, NoFolderAtAllWhenNoneCanHoldTheClient) {
    for (int i = 0; i < app::kMaxToolFolders; ++i) {
        // A folder in the way of the file: it can be neither read as the client nor replaced.
        fs::create_directories(Folder(i ? (L"adb_local." + std::to_wstring(i)).c_str() : L"adb_local") / L"adb.exe");
    }
    EXPECT_EQ(Extract(), std::vector<fs::path>(kTools.size())) << "no client rather than the wrong one";
}

TEST_F(ToolStore, PartWrittenCopiesOfKilledRunsAreCleanedUp) {
    Write(Folder() / L"adb.exe.4242.partial", Payload().substr(0, 10));
    Extract();
    EXPECT_TRUE(Strays().empty());
}

TEST_F(ToolStore, BadImagesOrMissingResourcesYieldNothing) {
    for (unsigned id : {30002u, 30003u, 30004u, 30005u, 39999u}) {
        std::wstring path = L"untouched";
        EXPECT_EQ(app::ExtractTool(L"FILE", id, Folder().wstring(), L"adb.exe", path), app::ToolPlacement::NoImage) << id;
        EXPECT_EQ(path, L"untouched");
        EXPECT_FALSE(fs::exists(Folder() / L"adb.exe")) << id;
    }
}

}  // namespace
