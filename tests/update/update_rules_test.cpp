// The decisions of the update check and the upgrade: version order, the daily throttle's edges,
// when a descriptor offers an upgrade, the progress bar's position and the backup's name.
#include <gtest/gtest.h>

#include "update/update_rules.h"
#include "update/version_number.h"

namespace {

using namespace update;

TEST(VersionOrder, NumbersCountNotTheirText) {
    EXPECT_TRUE(IsNewerVersion(L"1.10.0.0", L"1.9.0.0"));
    EXPECT_FALSE(IsNewerVersion(L"1.9.0.0", L"1.10.0.0")) << "would be a downgrade";
    EXPECT_TRUE(IsNewerVersion(L"1.0.0.2", L"1.0.0.1"));
    EXPECT_FALSE(IsNewerVersion(L"1.0.0.1", L"1.0.0.1"));
    EXPECT_TRUE(IsNewerVersion(L"2.0.0.0", L"1.65535.65535.65535"));
    EXPECT_FALSE(IsNewerVersion(L"1.0.0.9", L"1.0.1.0"));
    EXPECT_TRUE(IsNewerVersion(L"1.0.0.10", L"1.0.0.9"));
    // Parts left out are 0, leading zeros change nothing.
    EXPECT_FALSE(IsNewerVersion(L"1.2", L"1.2.0.0"));
    EXPECT_TRUE(IsNewerVersion(L"1.3", L"1.2.9.9"));
    EXPECT_FALSE(IsNewerVersion(L"01.002.0.0", L"1.2.0.0"));
}

TEST(VersionOrder, TextsThatAreNoVersion) {
    // Nothing that is not a version is ever offered; a running program without a version block
    // takes any version.
    for (const wchar_t* bad : {L"", L"1.0.0.0.1", L"1..0", L".1", L"1.", L"1.0.0.x", L"-1.0", L" 1.0", L"1.0 ",
                               L"65536.0.0.0", L"99999999999999999999", L"1,0"})
        EXPECT_FALSE(IsNewerVersion(bad, L"0.0.0.0")) << std::wstring(bad);
    EXPECT_TRUE(IsNewerVersion(L"0.0.0.1", L""));
    EXPECT_TRUE(IsNewerVersion(L"0.0.0.0", L"unknown"));
    EXPECT_FALSE(IsNewerVersion(L"", L""));
}

TEST(VersionOrder, FromTheFixedRecordAndBackToText) {
    const VersionNumber version = VersionFromFixedInfo(0x00010002, 0x00030004);
    EXPECT_EQ(FormatVersion(version), L"1.2.3.4");
    EXPECT_EQ(ParseVersion(L"1.2.3.4"), version);
    EXPECT_EQ(FormatVersion(VersionFromFixedInfo(0xFFFF0000, 0x0000FFFF)), L"65535.0.0.65535");
    EXPECT_EQ(FormatVersion(*ParseVersion(L"7")), L"7.0.0.0");
}

TEST(CheckThrottle, OnceADayAndWheneverTheClockWentBack) {
    const int64_t now = 1'700'000'000;
    EXPECT_FALSE(IsCheckDue(now, static_cast<uint32_t>(now - 86400))) << "one day exactly is not more than a day";
    EXPECT_TRUE(IsCheckDue(now, static_cast<uint32_t>(now - 86401)));
    EXPECT_FALSE(IsCheckDue(now, static_cast<uint32_t>(now)));
    EXPECT_FALSE(IsCheckDue(now, static_cast<uint32_t>(now - 1)));
    EXPECT_TRUE(IsCheckDue(now, static_cast<uint32_t>(now + 1))) << "the clock went back";
    EXPECT_TRUE(IsCheckDue(now, std::nullopt)) << "never checked";
    EXPECT_TRUE(IsCheckDue(now, 0u));
    // The stamp is unsigned: a time after 2038 is not a time before 1970.
    const int64_t late = 3'000'000'000;
    EXPECT_FALSE(IsCheckDue(late + 10, static_cast<uint32_t>(late)));
    EXPECT_TRUE(IsCheckDue(late + 86401, static_cast<uint32_t>(late)));
}

TEST(Descriptor, AnUpgradeIsOfferedForANewerVersionWithAnAddress) {
    UpdateDescriptor descriptor{L"1.0.0.2", L"http://update.example/new.exe", L"", L""};
    EXPECT_TRUE(OffersUpgrade(descriptor, L"1.0.0.1"));
    EXPECT_FALSE(OffersUpgrade(descriptor, L"1.0.0.2"));
    EXPECT_FALSE(OffersUpgrade(descriptor, L"1.0.0.10"));
    descriptor.url.clear();
    EXPECT_FALSE(OffersUpgrade(descriptor, L"1.0.0.1")) << "nowhere to get it from";
    EXPECT_FALSE(OffersUpgrade(UpdateDescriptor{}, L""));
    EXPECT_TRUE(OffersUpgrade({L"1.9.0.0", L"ftp://h/f", L"", L""}, L"")) << "no local version";
}

TEST(Descriptor, ItsAddressNamesTheRunningVersion) {
    EXPECT_EQ(DescriptorAddress(L"http://update.example", L"1.0.0.1"),
              L"http://update.example/update/checkupdate.ini?ver=1.0.0.1");
    EXPECT_EQ(DescriptorAddress(L"http://update.example", L""), L"http://update.example/update/checkupdate.ini?ver=");
    const std::wstring server = L"http://" + std::wstring(2083 - 7 - 28 - 7, L'h');
    EXPECT_EQ(DescriptorAddress(server, L"1.0.0.1").size(), 2083u);
    EXPECT_EQ(DescriptorAddress(server + L"h", L"1.0.0.1"), L"") << "longer than an address may be";
}

TEST(UpgradeProgress, WholePercentsOfAKnownSize) {
    EXPECT_EQ(ProgressPercent(1000, 500), 50);
    EXPECT_EQ(ProgressPercent(3, 2), 66) << "truncated";
    EXPECT_EQ(ProgressPercent(10'000'000'000, 9'999'999'999), 99);
    EXPECT_EQ(ProgressPercent(1000, 1000), 100);
    // Unknown or nothing yet: the bar stands at 0.
    EXPECT_EQ(ProgressPercent(-1, 500), 0);
    EXPECT_EQ(ProgressPercent(0, 500), 0);
    EXPECT_EQ(ProgressPercent(1000, 0), 0);
    EXPECT_EQ(ProgressPercent(1000, -1), 0);
    // Figures that make no percent leave the bar where it is.
    EXPECT_EQ(ProgressPercent(1000, 1001), std::nullopt);
    EXPECT_EQ(ProgressPercent(1000, -5), std::nullopt);
}

TEST(Backup, TheProgramsPathWithBak) {
    EXPECT_EQ(BackupPath(L"C:\\Program Files\\Mivora\\MivoraBoxAssistant.exe"),
              L"C:\\Program Files\\Mivora\\MivoraBoxAssistant.bak");
    EXPECT_EQ(BackupPath(L"C:\\a.b\\program"), L"C:\\a.b\\program.bak") << "a dot in a folder is no extension";
    EXPECT_EQ(BackupPath(L"C:\\x\\MIVORA~1.EXE"), L"C:\\x\\MIVORA~1.bak");
    EXPECT_EQ(BackupPath(L"prog.tar.exe"), L"prog.tar.bak");
}

}  // namespace
