// Numbers in tags and link targets: wcstol's reading rules, clamped to 32 bits everywhere.
#include "ui/skin/text/markup_numbers.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using skin::ButtonLinkCommand;
using skin::ReadInteger;

TEST(ReadInteger, FollowsTheWcstolReadingRules) {
    EXPECT_EQ(ReadInteger(L"42", 10), 42);
    EXPECT_EQ(ReadInteger(L" \t\r\n\v\f42", 10), 42);
    EXPECT_EQ(ReadInteger(L"-42", 10), -42);
    EXPECT_EQ(ReadInteger(L"+42", 10), 42);
    EXPECT_EQ(ReadInteger(L"42abc", 10), 42);
    EXPECT_EQ(ReadInteger(L"", 10), 0);
    EXPECT_EQ(ReadInteger(L"abc", 10), 0);
    EXPECT_EQ(ReadInteger(L"- 4", 10), 0);
    EXPECT_EQ(ReadInteger(L"--4", 10), 0);
    EXPECT_EQ(ReadInteger(L"ff", 16), 255);
    EXPECT_EQ(ReadInteger(L"FfG", 16), 255);
    EXPECT_EQ(ReadInteger(L"-1f", 16), -31);
    EXPECT_EQ(ReadInteger(L"0x1f", 16), 31);  // wcstol accepts the prefix again in base 16
    EXPECT_EQ(ReadInteger(L"0xg", 16), 0);
    EXPECT_EQ(ReadInteger(L"0x1f", 10), 0);
    EXPECT_EQ(ReadInteger(L"\x0661", 10), 0);  // only ASCII digits count
}

TEST(ReadInteger, ClampsToTheSigned32BitRange) {
    EXPECT_EQ(ReadInteger(L"2147483647", 10), INT32_MAX);
    EXPECT_EQ(ReadInteger(L"2147483648", 10), INT32_MAX);
    EXPECT_EQ(ReadInteger(L"-2147483648", 10), INT32_MIN);
    EXPECT_EQ(ReadInteger(L"-2147483649", 10), INT32_MIN);
    EXPECT_EQ(ReadInteger(L"99999999999999999999999999999", 10), INT32_MAX);
    EXPECT_EQ(ReadInteger(L"ffffffff", 16), INT32_MAX);
    EXPECT_EQ(ReadInteger(L"7fffffff", 16), INT32_MAX);
}

TEST(ButtonLinkCommand, ReadsTheCommandNumberOfButtonTargets) {
    EXPECT_EQ(ButtonLinkCommand(L"button:305"), 305);
    EXPECT_EQ(ButtonLinkCommand(L"button:0x1F"), 31);
    EXPECT_EQ(ButtonLinkCommand(L"button:0X1f"), 31);
    EXPECT_EQ(ButtonLinkCommand(L"BUTTON:12abc"), 12);
    EXPECT_EQ(ButtonLinkCommand(L"button:"), 0);
    EXPECT_EQ(ButtonLinkCommand(L"button:0x"), 0);
    EXPECT_EQ(ButtonLinkCommand(L"button:#1F"), 0);
    EXPECT_EQ(ButtonLinkCommand(L"button: -7"), -7);
}

TEST(ButtonLinkCommand, OtherTargetsAreNoCommands) {
    EXPECT_FALSE(ButtonLinkCommand(L""));
    EXPECT_FALSE(ButtonLinkCommand(L"button"));
    EXPECT_FALSE(ButtonLinkCommand(L"buttons:1"));
    EXPECT_FALSE(ButtonLinkCommand(L" button:1"));
    EXPECT_FALSE(ButtonLinkCommand(L"http://example.invalid/"));
}

}  // namespace
