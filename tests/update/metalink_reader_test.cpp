// Metalink descriptors read by the platform's XML document object, from real files.
#include "update/metalink_reader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "test_support/temp_dir.h"
#include "update/download.h"

namespace {

using Mirrors = std::vector<std::wstring>;

constexpr char kTwoFiles[] = R"(<?xml version="1.0" encoding="utf-8"?>
<metalink version="3.0" xmlns="http://www.metalinker.org/">
  <files>
    <file name="first.exe">
      <size>10</size>
      <resources>
        <url type="http" location="cn" preference="100">http://a.example/first.exe</url>
        <url type="ftp">ftp://b.example/pub/first.exe</url>
      </resources>
    </file>
    <file name="second.exe">
      <verification><hash type="sha256">00</hash></verification>
      <resources>
        <url type="https">https://c.example/second.exe</url>
        <url type="bittorrent">http://d.example/second.torrent</url>
        <url>http://e.example/untyped.exe</url>
        <url type="HTTP">
          https://f.example/second.exe
        </url>
        <mirror type="http">http://g.example/not-a-url-element.exe</mirror>
        <url type="Ftp">ftp://h.example/second.exe</url>
      </resources>
    </file>
    <notafile><resources><url type="http">http://i.example/x</url></resources></notafile>
  </files>
</metalink>
)";

class MetalinkReader : public testing::Test {
protected:
    std::wstring Write(const std::string& xml) {
        const std::filesystem::path path = folder_.path() / ("descriptor" + std::to_string(++count_) + ".metalink");
        std::ofstream(path, std::ios::binary) << xml;
        return path.wstring();
    }
    Mirrors Read(const std::string& xml, int index) { return update::ReadMetalinkMirrors(Write(xml), index); }

    test_support::TempDir folder_;
    int count_ = 0;
};

TEST_F(MetalinkReader, TheSelectedFilesHttpAndFtpAddressesInOrder) {
    EXPECT_EQ(Read(kTwoFiles, 0), (Mirrors{L"http://a.example/first.exe", L"ftp://b.example/pub/first.exe"}));
    // Types in any case; an https address counts when its element says http; https, other and
    // missing types do not; the blanks around an address go.
    EXPECT_EQ(Read(kTwoFiles, 1), (Mirrors{L"https://f.example/second.exe", L"ftp://h.example/second.exe"}));
}

TEST_F(MetalinkReader, AnIndexThatNamesNoFileGivesNothing) {
    EXPECT_EQ(Read(kTwoFiles, 2), Mirrors{}) << "the third child of files is not a file";
    EXPECT_EQ(Read(kTwoFiles, 3), Mirrors{});
    EXPECT_EQ(Read(kTwoFiles, -1), Mirrors{});
}

TEST_F(MetalinkReader, ElementNamesInCapitalsAreTheSame) {
    const std::string xml =
        "<METALINK><Files><FILE><RESOURCES><URL TYPE='http'>http://a.example/f</URL>"
        "<Url type='FTP'>ftp://b.example/f</Url></RESOURCES></FILE></Files></METALINK>";
    EXPECT_EQ(Read(xml, 0), (Mirrors{L"http://a.example/f", L"ftp://b.example/f"}));
}

TEST_F(MetalinkReader, ChildrenCountInDocumentOrderWithoutBlanks) {
    const std::string xml =
        "<metalink>\n  <files>\n    <file><resources><url type='http'>http://one/</url></resources></file>\n"
        "    <file><resources><url type='http'>http://two/</url></resources></file>\n  </files>\n</metalink>";
    EXPECT_EQ(Read(xml, 1), (Mirrors{L"http://two/"}));
}

TEST_F(MetalinkReader, BrokenOrForeignDocumentsGiveNothing) {
    EXPECT_EQ(Read("<metalink><files><file><resources><url type='http'>http://a/</url>", 0), Mirrors{});
    EXPECT_EQ(Read("", 0), Mirrors{});
    EXPECT_EQ(Read("HTTP/1.1 404 Not Found", 0), Mirrors{});
    EXPECT_EQ(Read("<html><files><file><resources><url type='http'>http://a/</url></resources></file></files></html>", 0),
              Mirrors{});
    EXPECT_EQ(Read("<metalink><files><file><url type='http'>http://a/</url></file></files></metalink>", 0), Mirrors{})
        << "no resources";
    EXPECT_EQ(update::ReadMetalinkMirrors(L"Z:\\no\\such\\file.metalink", 0), Mirrors{});
}

TEST_F(MetalinkReader, TheEngineGetsTheMirrorsThatCrackAndTheDescriptorIsDeleted) {
    update::CDownload download;
    const std::wstring path = Write(kTwoFiles);
    download.SetTargetPath(path);
    // The engine cuts the file index off the address when the download starts; the start is
    // refused here without an address to go to, which leaves the index in place.
    download.SetUrl(L"notanaddress#MetalinkFile1");
    EXPECT_FALSE(download.StartDownload());
    ASSERT_EQ(download.MetalinkFileIndex(), 1);
    EXPECT_TRUE(update::ParseMetalink(download));
    EXPECT_FALSE(std::filesystem::exists(path));

    const std::wstring unusable = Write(
        "<metalink><files><file><resources><url type='http'>gopher://a/f</url></resources></file></files></metalink>");
    update::CDownload nothing;
    nothing.SetTargetPath(unusable);
    EXPECT_FALSE(update::ParseMetalink(nothing)) << "no address the engine can use";
    EXPECT_FALSE(std::filesystem::exists(unusable));
}

}  // namespace
