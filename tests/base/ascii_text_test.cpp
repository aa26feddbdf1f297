// Comparisons that fold the ASCII letters and nothing else.
#include "base/ascii_text.h"

#include <gtest/gtest.h>

namespace {

TEST(AsciiText, FoldsOnlyTheAsciiLetters) {
    EXPECT_TRUE(base::StartsWithNoCase(L"BUTTON:1", L"button:"));
    EXPECT_TRUE(base::StartsWithNoCase(L"abc", L""));
    EXPECT_FALSE(base::StartsWithNoCase(L"ab", L"abc"));
    EXPECT_FALSE(base::StartsWithNoCase(L"\u00c4", L"\u00e4"));
    EXPECT_FALSE(base::StartsWithNoCase(L"[", L"{"));  // '[' is 'Z' + 1, '{' is 'z' + 1
    EXPECT_TRUE(base::EqualsNoCase(L".APK", L".apk"));
    EXPECT_FALSE(base::EqualsNoCase(L".apk ", L".apk"));
}

TEST(AsciiText, FindsAPieceAnywhere) {
    EXPECT_TRUE(base::ContainsNoCase(L"Failure [INSTALL_FAILED_ALREADY_EXISTS]", L"install_failed_already_exists"));
    EXPECT_TRUE(base::ContainsNoCase(L"already connected to 10.0.0.7:5555", L"CONNECTED"));
    EXPECT_FALSE(base::ContainsNoCase(L"unable to connect", L"connected"));
    EXPECT_TRUE(base::ContainsNoCase(L"x", L""));
}

}  // namespace
