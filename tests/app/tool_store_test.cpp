// Extraction from the test program's own resources into a private temporary folder.
#include "app/tool_store.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "test_support/temp_dir.h"

namespace {

std::string Payload() {
    std::string s;
    for (int i = 0; i < 2000; ++i) s += "MZ fake adb client ";
    return s;
}

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class ToolStore : public ::testing::Test {
protected:
    void SetUp() override { UseTemp(temp_.path()); }
    void TearDown() override {
        SetEnvironmentVariableW(L"TMP", savedTmp_.c_str());
        SetEnvironmentVariableW(L"TEMP", savedTemp_.c_str());
    }
    void UseTemp(const std::filesystem::path& dir) {
        SetEnvironmentVariableW(L"TMP", dir.c_str());
        SetEnvironmentVariableW(L"TEMP", dir.c_str());
    }
    std::filesystem::path ToolsFolder() const { return temp_.path() / L"adb_local"; }

    test_support::TempDir temp_;

private:
    static std::wstring Env(const wchar_t* name) {
        wchar_t value[MAX_PATH] = {};
        GetEnvironmentVariableW(name, value, MAX_PATH);
        return value;
    }
    std::wstring savedTmp_ = Env(L"TMP"), savedTemp_ = Env(L"TEMP");
};

TEST_F(ToolStore, WritesTheImageIntoTheToolsFolder) {
    const std::wstring path = app::ExtractTool(L"FILE", 30001, L"adb.exe");
    EXPECT_EQ(std::filesystem::path(path), ToolsFolder() / L"adb.exe");
    EXPECT_EQ(Contents(path), Payload());
}

TEST_F(ToolStore, CreatesAMissingFolderWithItsParents) {
    const auto nested = temp_.path() / L"一层" / L"two";
    UseTemp(nested);
    const std::wstring path = app::ExtractTool(L"FILE", 30001, L"adb.exe");
    EXPECT_EQ(std::filesystem::path(path), nested / L"adb_local" / L"adb.exe");
    EXPECT_EQ(Contents(path), Payload());
}

TEST_F(ToolStore, AnExistingFileIsUsedAsItIs) {
    std::filesystem::create_directories(ToolsFolder());
    const auto existing = ToolsFolder() / L"adb.exe";
    std::ofstream(existing).close();
    EXPECT_EQ(std::filesystem::path(app::ExtractTool(L"FILE", 30001, L"adb.exe")), existing);
    EXPECT_EQ(std::filesystem::file_size(existing), 0u);
    // Even without any image for it.
    EXPECT_EQ(std::filesystem::path(app::ExtractTool(L"FILE", 39999, L"adb.exe")), existing);
}

TEST_F(ToolStore, AReadOnlyLeftoverBecomesWritableButIsNotRewritten) {
    std::filesystem::create_directories(ToolsFolder());
    const auto existing = ToolsFolder() / L"adb.exe";
    std::ofstream(existing) << "old";
    SetFileAttributesW(existing.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(std::filesystem::path(app::ExtractTool(L"FILE", 30001, L"adb.exe")), existing);
    EXPECT_EQ(GetFileAttributesW(existing.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(Contents(existing), "old");
}

TEST_F(ToolStore, BadImagesOrMissingResourcesYieldNothing) {
    for (unsigned id : {30002u, 30003u, 30004u, 30005u, 39999u}) {
        EXPECT_EQ(app::ExtractTool(L"FILE", id, L"adb.exe"), L"") << id;
        EXPECT_FALSE(std::filesystem::exists(ToolsFolder() / L"adb.exe")) << id;
    }
}

}  // namespace
