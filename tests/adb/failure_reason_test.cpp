// Why an install failed, from what the client printed and how it ended: the box's own verdicts
// (as Google's client and ours print them), what the clients say of a missing link, the limits,
// and the client's last line when nothing is recognised.
#include "adb/failure_reason.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using adb::ChildEnd;
using adb::ClassifyFailure;
using adb::FailureReason;
using adb::FailureText;

TEST(FailureReason, TheBoxsVerdictsAreRecognisedInAnyLetterCase) {
    const struct {
        const wchar_t* output;
        FailureReason reason;
    } cases[] = {
        {L"adb: failed to install a.apk: Failure [INSTALL_FAILED_INSUFFICIENT_STORAGE]\r\n", FailureReason::StorageFull},
        {L"adb: error: failed to copy 'a.apk' to '/data/local/tmp/a.apk': No space left on device\n", FailureReason::StorageFull},
        {L"Failure [INSTALL_FAILED_OLDER_SDK: Requires newer sdk version #26 (current version is #22)]", FailureReason::AndroidTooOld},
        {L"Failure [INSTALL_FAILED_INVALID_APK: Split null was defined multiple times]", FailureReason::InvalidPackage},
        {L"Failure [INSTALL_PARSE_FAILED_NO_CERTIFICATES: Package has no certificates]", FailureReason::InvalidPackage},
        {L"failure [install_parse_failed_not_apk]", FailureReason::InvalidPackage},
        {L"Failure [INSTALL_FAILED_VERSION_DOWNGRADE]", FailureReason::NewerVersionInstalled},
        {L"Failure [INSTALL_FAILED_UPDATE_INCOMPATIBLE: Package com.x signatures do not match]", FailureReason::SignatureDiffers},
        {L"Failure [INSTALL_PARSE_FAILED_INCONSISTENT_CERTIFICATES]", FailureReason::SignatureDiffers},
        {L"Failure [INSTALL_FAILED_CPU_ABI_INCOMPATIBLE]", FailureReason::NoMatchingAbi},
        {L"Failure [INSTALL_FAILED_NO_MATCHING_ABIS: Failed to extract native libraries, res=-113]", FailureReason::NoMatchingAbi},
        {L"Failure [INSTALL_FAILED_DUPLICATE_PERMISSION: Package com.b attempting to redeclare permission]", FailureReason::DuplicatePermission},
        {L"Failure [INSTALL_FAILED_INVALID_URI]", FailureReason::NotReceived},
        {L"error: device unauthorized.\nThis adb server's $ADB_VENDOR_KEYS is not set\n", FailureReason::Unauthorized},
        {L"adb: device '10.0.0.7:5555' not found\n", FailureReason::ConnectionLost},
        {L"error: closed\n", FailureReason::ConnectionLost},
        {L"adb: failed to install a.apk: the box closed the connection\n", FailureReason::ConnectionLost},
    };
    for (const auto& c : cases) EXPECT_EQ(ClassifyFailure(c.output, ChildEnd::Exited), c.reason) << c.output;
}

TEST(FailureReason, TheBoxsVerdictWinsOverWhatFollowsAndTheUserOverEverything) {
    // A box that said why before it went away failed for that reason.
    EXPECT_EQ(ClassifyFailure(L"Failure [INSTALL_FAILED_OLDER_SDK]\nerror: closed\n", ChildEnd::Exited),
              FailureReason::AndroidTooOld);
    EXPECT_EQ(ClassifyFailure(L"Failure [INSTALL_FAILED_OLDER_SDK]", ChildEnd::Cancelled), FailureReason::Cancelled);
}

TEST(FailureReason, AClientEndedByItsLimitsLostTheBoxAndUnknownWordsAreOther) {
    EXPECT_EQ(ClassifyFailure(L"Performing Streamed Install\n", ChildEnd::Silent), FailureReason::NoAnswer);
    EXPECT_EQ(ClassifyFailure(L"", ChildEnd::Overran), FailureReason::NoAnswer);
    EXPECT_EQ(ClassifyFailure(L"Failure [INSTALL_FAILED_SOMETHING_NEW]", ChildEnd::Exited), FailureReason::Other);
    EXPECT_EQ(ClassifyFailure(L"", ChildEnd::Exited), FailureReason::Other);
}

TEST(FailureReason, EveryReasonHasItsOwnChineseTextAndOtherTellsTheClientsLastLine) {
    std::set<std::wstring> texts;
    for (int32_t r = static_cast<int32_t>(FailureReason::StorageFull); r <= static_cast<int32_t>(FailureReason::Cancelled); ++r) {
        const std::wstring text = FailureText(static_cast<FailureReason>(r), L"ignored");
        EXPECT_FALSE(text.empty()) << r;
        EXPECT_TRUE(texts.insert(text).second) << "two reasons read alike: " << r;
    }
    EXPECT_EQ(FailureText(FailureReason::Cancelled, L""), L"已取消");
    EXPECT_EQ(FailureText(FailureReason::None, L"x"), L"");
    EXPECT_EQ(FailureText(FailureReason::Other, L"Performing Streamed Install\r\n  Failure [WHATEVER]  \r\n\r\n"),
              L"Failure [WHATEVER]");
    EXPECT_EQ(FailureText(FailureReason::Other, L" \r\n"), L"安装程序没有说明原因");
}

TEST(FailureReason, TheLastLineIsCutToItsLimit) {
    const std::wstring line = adb::LastOutputLine(L"first\n" + std::wstring(500, L'x'));
    EXPECT_EQ(line.size(), adb::kMaxLastLine);
    EXPECT_EQ(line.back(), L'…');
    EXPECT_EQ(adb::LastOutputLine(L"only"), L"only");
    EXPECT_EQ(adb::LastOutputLine(L""), L"");
}

}  // namespace
