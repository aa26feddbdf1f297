#include "adb/box_name.h"

#include <gtest/gtest.h>

namespace {

using adb::BoxDisplayName;

TEST(BoxName, EachMakeIsNamedFromHostOrModel) {
    EXPECT_EQ(BoxDisplayName(L"mele-build-host\r\nMELE_A100\r\n"), L"迈乐盒子A100");
    EXPECT_EQ(BoxDisplayName(L"buildhost\r\nMele M8\r\n"), L"迈乐盒子");
    EXPECT_EQ(BoxDisplayName(L"kiui-ci\r\nK1\r\n"), L"开博尔盒子");
    EXPECT_EQ(BoxDisplayName(L"ubuntu\r\nFull AOSP on godbox\r\n"), L"海美迪盒子");
    EXPECT_EQ(BoxDisplayName(L"letv-build03\r\nLetv S50\r\n"), L"乐视盒子");
    EXPECT_EQ(BoxDisplayName(L"ci\r\nMyGica ATV1200\r\n"), L"美如画盒子");
    EXPECT_EQ(BoxDisplayName(L"ci\r\nI5D\r\n"), L"我播盒子I5");
    EXPECT_EQ(BoxDisplayName(L"c3-miui-ota\r\nMiBOX3\r\n"), L"小米盒子");
}

TEST(BoxName, EarlierRowsWin) {
    EXPECT_EQ(BoxDisplayName(L"mele_a100\nmibox"), L"迈乐盒子A100");
    EXPECT_EQ(BoxDisplayName(L"mibox\nmele_a100"), L"迈乐盒子A100");
    EXPECT_EQ(BoxDisplayName(L"letv mibox"), L"乐视盒子");
}

TEST(BoxName, UnknownOutputGetsTheDefaultAndNothingGetsNothing) {
    EXPECT_EQ(BoxDisplayName(L"error: device offline"), L"智能机顶盒");
    EXPECT_EQ(BoxDisplayName(L"盒子"), L"智能机顶盒");
    EXPECT_EQ(BoxDisplayName(L""), L"");
}

}  // namespace
