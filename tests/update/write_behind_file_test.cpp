#include "update/write_behind_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "memory_target_file.h"
#include "test_support/temp_dir.h"
#include "update/win_target_file.h"

namespace {

using test_support::MemoryTargetFile;
using update::CWriteBehindFile;

std::vector<uint8_t> Block(size_t size, uint8_t value) { return std::vector<uint8_t>(size, value); }

TEST(WriteBehindFile, WritesLandInTheOrderTheyWereMade) {
    MemoryTargetFile inner;
    CWriteBehindFile file(inner);
    ASSERT_TRUE(file.Open());
    // Far more than may wait at once, and each block written over by the next one's start.
    const size_t blocks = 3 * CWriteBehindFile::kMostWaiting / 32768;
    for (size_t i = 0; i < blocks; ++i) {
        const std::vector<uint8_t> block = Block(32768, static_cast<uint8_t>(i));
        ASSERT_TRUE(file.WriteAt(static_cast<int64_t>(i) * 32000, block.data(), block.size()));
    }
    EXPECT_EQ(file.Size(), static_cast<int64_t>((blocks - 1) * 32000 + 32768));
    for (size_t i = 0; i + 1 < blocks; ++i)
        ASSERT_EQ(inner.bytes[i * 32000 + 31999], static_cast<uint8_t>(i)) << i;
    EXPECT_EQ(inner.bytes.back(), static_cast<uint8_t>(blocks - 1));
    EXPECT_TRUE(file.Flush());
}

TEST(WriteBehindFile, AFailedWriteFailsEveryLaterOneUntilTheFileIsOpenedAgain) {
    MemoryTargetFile inner;
    inner.capacity = 100000;
    CWriteBehindFile file(inner);
    ASSERT_TRUE(file.Open());
    const std::vector<uint8_t> block = Block(40000, 7);
    EXPECT_TRUE(file.WriteAt(0, block.data(), block.size()));
    EXPECT_TRUE(file.WriteAt(80000, block.data(), block.size())) << "it is only known once it was tried";
    EXPECT_FALSE(file.Flush());
    EXPECT_FALSE(file.WriteAt(40000, block.data(), block.size()));
    EXPECT_EQ(file.Size(), 40000) << "nothing after the failure was written";
    EXPECT_TRUE(file.Resize(0)) << "giving the space back still works";
    file.Close(std::nullopt);
    ASSERT_TRUE(file.Open());
    EXPECT_TRUE(file.WriteAt(0, block.data(), block.size()));
    EXPECT_TRUE(file.Flush());
}

TEST(WriteBehindFile, OnARealFileEverythingIsThereOnceClosed) {
    test_support::TempDir folder;
    update::CWinTargetFile real;
    real.path = (folder.path() / "target.bin").wstring();
    CWriteBehindFile file(real);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Resize(300000));
    for (int i = 0; i < 10; ++i) {
        const std::vector<uint8_t> block = Block(30000, static_cast<uint8_t>('a' + i));
        ASSERT_TRUE(file.WriteAt(270000 - 30000 * i, block.data(), block.size()));
    }
    const std::vector<uint8_t> tail = Block(100, 'z');
    ASSERT_TRUE(file.WriteAt(300000, tail.data(), tail.size()));
    ASSERT_TRUE(file.Resize(300050)) << "a resize waits for the writes before it";
    file.Close(std::nullopt);
    std::ifstream in(folder.path() / "target.bin", std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_EQ(bytes.size(), 300050u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(bytes[270000 - 30000 * i], 'a' + i);
    EXPECT_EQ(bytes.back(), 'z');
}

}  // namespace
