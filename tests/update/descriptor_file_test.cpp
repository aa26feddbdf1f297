// The update descriptor read from real INI files by the platform's profile reader.
#include "update/descriptor_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "test_support/temp_dir.h"

namespace {

class DescriptorFile : public testing::Test {
protected:
    update::UpdateDescriptor Read(const std::string& text) {
        const std::filesystem::path path = folder_.path() / "checkupdate.ini";
        std::ofstream(path, std::ios::binary) << text;
        return update::ReadUpdateDescriptor(path.wstring());
    }
    test_support::TempDir folder_;
};

TEST_F(DescriptorFile, EveryKeyOfSectionMain) {
    const update::UpdateDescriptor read = Read(
        "[other]\r\nversion=9.9.9.9\r\n[main]\r\nversion = 1.0.0.2\r\nurl=http://h/f.metalink#MetalinkFile1\r\n"
        "sha256=ABCDEF\r\nsig=c2lnbmF0dXJl\r\nunknown=x\r\n");
    EXPECT_EQ(read.version, L"1.0.0.2");
    EXPECT_EQ(read.url, L"http://h/f.metalink#MetalinkFile1");
    EXPECT_EQ(read.sha256, L"ABCDEF");
    EXPECT_EQ(read.sig, L"c2lnbmF0dXJl");
}

TEST_F(DescriptorFile, MissingKeysReadEmpty) {
    update::UpdateDescriptor read = Read("[main]\nversion=1.0.0.2\n");
    EXPECT_EQ(read.version, L"1.0.0.2");
    EXPECT_EQ(read.url, L"");
    EXPECT_EQ(read.sha256, L"");
    EXPECT_EQ(read.sig, L"");
    EXPECT_FALSE(update::OffersUpgrade(read, L"1.0.0.1")) << "no address: no prompt";

    read = Read("[main]\nurl=http://h/f.exe\n");
    EXPECT_EQ(read.version, L"");
    EXPECT_FALSE(update::OffersUpgrade(read, L"1.0.0.1"));

    read = Read("[mainly]\nversion=1.0.0.2\nurl=http://h/f.exe\n");
    EXPECT_EQ(read.version, L"");
    EXPECT_EQ(read.url, L"");
    EXPECT_EQ(Read("").url, L"");
    EXPECT_EQ(Read("<html>404 Not Found</html>").version, L"");
}

TEST_F(DescriptorFile, OverlongValuesAreCutAtTheirRoom) {
    const update::UpdateDescriptor read =
        Read("[main]\nversion=" + std::string(400, '1') + "\nurl=http://h/" + std::string(3000, 'a') + "\n");
    EXPECT_EQ(read.version.size(), 259u);
    EXPECT_EQ(read.url.size(), 2083u);
}

TEST(DescriptorFileMissing, ReadsAsNoDescriptor) {
    const update::UpdateDescriptor read = update::ReadUpdateDescriptor(L"Z:\\no\\such\\checkupdate.ini");
    EXPECT_EQ(read.version, L"");
    EXPECT_EQ(read.url, L"");
}

}  // namespace
