// A box's address as text and back.
#include "base/box_address.h"

#include <gtest/gtest.h>

namespace {

using base::BoxAddress;

constexpr BoxAddress Box(int a, int b, int c, int d) {
    return static_cast<BoxAddress>(a | b << 8 | c << 16 | static_cast<uint32_t>(d) << 24);
}

TEST(BoxAddress, IsWrittenAsADottedQuadFirstOctetFirst) {
    EXPECT_EQ(base::BoxText(Box(192, 168, 1, 20)), L"192.168.1.20");
    EXPECT_EQ(base::BoxText(Box(10, 0, 0, 7)), L"10.0.0.7");
    EXPECT_EQ(base::BoxText(Box(255, 255, 255, 254)), L"255.255.255.254");
    EXPECT_EQ(base::BoxText(base::kNoBox), L"");
}

TEST(BoxAddress, IsReadBackFromItsDottedQuad) {
    for (BoxAddress box : {Box(192, 168, 1, 20), Box(10, 0, 0, 7), Box(0, 0, 0, 0), Box(1, 2, 3, 255)})
        EXPECT_EQ(base::BoxFromText(base::BoxText(box)), box);
    EXPECT_EQ(base::BoxFromText(L"192.168.001.020"), Box(192, 168, 1, 20));
}

TEST(BoxAddress, AnythingButFourOctetsIsNoBox) {
    for (const wchar_t* text : {L"", L"192.168.1", L"192.168.1.20.5", L"192.168.1.256", L"192.168.1.", L".1.2.3",
                                L"192.168.1.2x", L"192.168. 1.20", L"1234.1.1.1", L"-1.0.0.0"})
        EXPECT_EQ(base::BoxFromText(text), base::kNoBox) << text;
}

}  // namespace
