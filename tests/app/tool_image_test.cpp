#include "app/tool_image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "test_support/temp_dir.h"

namespace {

std::vector<uint8_t> Sample(size_t size) {
    std::vector<uint8_t> data(size);
    for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>("adb tool image "[i % 15]);
    return data;
}

std::vector<uint8_t> Packed(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> image;
    EXPECT_TRUE(app::DeflateToolImage(data, image));
    return image;
}

void SetSizeField(std::vector<uint8_t>& image, uint32_t size) {
    for (int i = 0; i < 4; ++i) image[i] = static_cast<uint8_t>(size >> (8 * i));
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& data) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), data.size());
}

TEST(ToolImage, RoundTripsAtLevelNine) {
    const std::vector<uint8_t> data = Sample(100000);
    const std::vector<uint8_t> image = Packed(data);
    ASSERT_GT(image.size(), 6u);
    EXPECT_EQ(image[4], 0x78);
    EXPECT_EQ(image[5], 0xDA);
    std::vector<uint8_t> out;
    ASSERT_TRUE(app::InflateToolImage(image.data(), image.size(), out));
    EXPECT_EQ(out, data);
}

TEST(ToolImage, SizeFieldThatDisagreesWithTheStreamIsRejected) {
    std::vector<uint8_t> image = Packed(Sample(5000));
    std::vector<uint8_t> out;
    SetSizeField(image, 4999);
    EXPECT_FALSE(app::InflateToolImage(image.data(), image.size(), out));
    SetSizeField(image, 5001);
    EXPECT_FALSE(app::InflateToolImage(image.data(), image.size(), out));
    EXPECT_TRUE(out.empty());
}

TEST(ToolImage, ImageOfAnEmptyToolIsRejected) {
    std::vector<uint8_t> image = Packed(Sample(5000));
    const uint8_t emptyStream[] = {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01};
    image.resize(4);
    image.insert(image.end(), std::begin(emptyStream), std::end(emptyStream));
    SetSizeField(image, 0);
    std::vector<uint8_t> out;
    EXPECT_FALSE(app::InflateToolImage(image.data(), image.size(), out));
}

TEST(ToolImage, SizeFieldBeyondAnyPossibleStreamIsRejectedWithoutAllocating) {
    std::vector<uint8_t> image = Packed(Sample(5000));
    std::vector<uint8_t> out;
    SetSizeField(image, 0xFFFFFFFFu);
    EXPECT_FALSE(app::InflateToolImage(image.data(), image.size(), out));
    SetSizeField(image, 0x7FFFFFF0u);
    EXPECT_FALSE(app::InflateToolImage(image.data(), image.size(), out));
}

TEST(ToolImage, CorruptOrTruncatedStreamIsRejected) {
    const std::vector<uint8_t> good = Packed(Sample(20000));
    std::vector<uint8_t> out;

    std::vector<uint8_t> corrupt = good;
    for (size_t i = 8; i < corrupt.size(); i += 7) corrupt[i] ^= 0x5A;
    EXPECT_FALSE(app::InflateToolImage(corrupt.data(), corrupt.size(), out));

    for (size_t cut : {good.size() - 1, good.size() / 2, size_t{6}, size_t{4}, size_t{1}})
        EXPECT_FALSE(app::InflateToolImage(good.data(), cut, out)) << "cut at " << cut;
    EXPECT_FALSE(app::InflateToolImage(nullptr, 100, out));
}

TEST(ToolImage, UnpackWritesNothingForABadImage) {
    test_support::TempDir dir;
    std::vector<uint8_t> image = Packed(Sample(3000));
    SetSizeField(image, 3001);
    const auto dest = dir.path() / "adb.exe";
    EXPECT_FALSE(app::UnpackToolImage(image.data(), image.size(), dest));
    EXPECT_FALSE(std::filesystem::exists(dest));
}

TEST(ToolImage, UnpackReplacesAnExistingFile) {
    test_support::TempDir dir;
    const auto dest = dir.path() / "adb.exe";
    WriteFile(dest, std::vector<uint8_t>(50000, 0xEE));
    const std::vector<uint8_t> data = Sample(1234);
    const std::vector<uint8_t> image = Packed(data);
    ASSERT_TRUE(app::UnpackToolImage(image.data(), image.size(), dest));
    EXPECT_EQ(ReadFile(dest), data);
}

TEST(ToolImage, PackAndUnpackFilesRoundTrip) {
    test_support::TempDir dir;
    const auto source = dir.path() / u8"客户端 tool.bin";
    const std::vector<uint8_t> data = Sample(70000);
    WriteFile(source, data);

    const auto image = app::PackFile(source);
    ASSERT_EQ(image, dir.path() / u8"客户端 tool.bin.zlib");
    const auto copy = app::UnpackFile(image);
    ASSERT_EQ(copy, dir.path() / u8"客户端 tool.bin.zlib.unzlib");
    EXPECT_EQ(ReadFile(copy), data);
}

TEST(ToolImage, PackFailsForDataThatDoesNotShrinkAndLeavesNoImage) {
    test_support::TempDir dir;
    std::mt19937 random(7);
    std::vector<uint8_t> noise(4096);
    for (auto& b : noise) b = static_cast<uint8_t>(random());
    const auto source = dir.path() / "noise.bin";
    WriteFile(source, noise);
    EXPECT_TRUE(app::PackFile(source).empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "noise.bin.zlib"));

    const auto empty = dir.path() / "empty.bin";
    WriteFile(empty, {});
    EXPECT_TRUE(app::PackFile(empty).empty());
    EXPECT_TRUE(app::PackFile(dir.path() / "missing.bin").empty());
}

TEST(ToolImage, UnpackFileOfACorruptImageLeavesNoCopy) {
    test_support::TempDir dir;
    std::vector<uint8_t> image = Packed(Sample(9000));
    image.resize(image.size() - 10);
    const auto path = dir.path() / "adb.exe.zlib";
    WriteFile(path, image);
    EXPECT_TRUE(app::UnpackFile(path).empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "adb.exe.zlib.unzlib"));
}

}  // namespace
