// Putting a new program file in place of the old one, with real files.
#include "update/self_replacement.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>

#include "test_support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class SelfReplacement : public testing::Test {
protected:
    void SetUp() override {
        Write(program_, "old program");
        Write(newFile_, "new program");
    }
    static void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    test_support::TempDir folder_;
    const fs::path program_ = folder_.path() / "MivoraBoxAssistant.exe";
    const fs::path backup_ = folder_.path() / "MivoraBoxAssistant.bak";
    const fs::path newFile_ = folder_.path() / "cf1A2B.tmp";
};

TEST_F(SelfReplacement, TheNewFileTakesTheProgramsNameAndTheBackupGoes) {
    ASSERT_TRUE(update::ReplaceProgram(program_.wstring(), newFile_.wstring()));
    EXPECT_EQ(Read(program_), "new program");
    EXPECT_FALSE(fs::exists(backup_)) << "nothing runs from the backup here, so it goes at once";
    EXPECT_EQ(Read(newFile_), "new program") << "the download is copied, not moved";
}

TEST_F(SelfReplacement, ALeftoverBackupMakesWayFirst) {
    Write(backup_, "older program");
    SetFileAttributesW(backup_.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(update::ReplaceProgram(program_.wstring(), newFile_.wstring()));
    EXPECT_EQ(Read(program_), "new program");
    EXPECT_FALSE(fs::exists(backup_));
}

TEST_F(SelfReplacement, AFailedCopyPutsTheProgramBack) {
    fs::remove(newFile_);
    EXPECT_FALSE(update::ReplaceProgram(program_.wstring(), newFile_.wstring()));
    EXPECT_EQ(Read(program_), "old program");
    EXPECT_FALSE(fs::exists(backup_));
}

TEST_F(SelfReplacement, AProgramThatCannotMoveStaysAsItIs) {
    // Held open by someone who lets nobody rename or delete it.
    HANDLE held = CreateFileW(program_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(update::ReplaceProgram(program_.wstring(), newFile_.wstring()));
    CloseHandle(held);
    EXPECT_EQ(Read(program_), "old program");
    EXPECT_FALSE(fs::exists(backup_));
}

TEST_F(SelfReplacement, DeletingGoesThroughReadOnlyAndPassesOverWhatIsNotThere) {
    Write(backup_, "x");
    SetFileAttributesW(backup_.c_str(), FILE_ATTRIBUTE_READONLY);
    update::DeleteFileRobust(backup_.wstring());
    EXPECT_FALSE(fs::exists(backup_));
    update::DeleteFileRobust(backup_.wstring());
    EXPECT_FALSE(fs::exists(backup_));

    Write(backup_, "left by an earlier upgrade");
    update::RemoveLeftoverBackup(program_.wstring());
    EXPECT_FALSE(fs::exists(backup_));
    EXPECT_EQ(Read(program_), "old program");
}

}  // namespace
