// The markup grammar: tags, the five stacks, colours, and the captions the pages show.
#include "ui/skin/text/markup_parser.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "fake_fonts.h"

namespace {

using skin::TextRun;
using skin_test::FakeFonts;

class Markup : public ::testing::Test {
protected:
    std::vector<TextRun> Parse(const wchar_t* markup) { return skin::ParseMarkup(markup, fonts_); }
    std::vector<std::wstring> Texts(const wchar_t* markup) {
        std::vector<std::wstring> texts;
        for (const TextRun& run : Parse(markup)) texts.push_back(run.text);
        return texts;
    }
    FakeFonts fonts_;
};

TEST_F(Markup, EmptyAndNullInputsYieldNoRuns) {
    EXPECT_TRUE(Parse(L"").empty());
    EXPECT_TRUE(Parse(nullptr).empty());
    EXPECT_TRUE(Parse(L"{&#font=8}{&#/font}").empty());
}

TEST_F(Markup, PlainTextIsOneRunInTheDefaultStyle) {
    const auto runs = Parse(L"plain");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, L"plain");
    EXPECT_EQ(runs[0].font, nullptr);
    EXPECT_EQ(runs[0].color, -1);
    EXPECT_EQ(runs[0].link, L"");
    EXPECT_FALSE(runs[0].underline);
    EXPECT_EQ(runs[0].bounds, skin::RunRect{});
}

TEST_F(Markup, ColourValuesInEveryNotationAreColorrefs) {
    for (const wchar_t* markup : {L"{&#color=#0000ff}x", L"{&#color=0x0000FF}x", L"{&#color=255}x",
                                  L"{&#color=0X0000ff}x", L"{&#COLOR=#0000FF}x"}) {
        SCOPED_TRACE(markup);
        const auto runs = Parse(markup);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].color, 255);
    }
    EXPECT_EQ(Parse(L"{&#color=0x009000}x")[0].color, 0x009000);
    EXPECT_EQ(Parse(L"{&#color=-1}x")[0].color, -1);
    EXPECT_EQ(Parse(L"{&#color=red}x")[0].color, 0);
    EXPECT_EQ(Parse(L"{&#color=  42}x")[0].color, 42);
    EXPECT_EQ(Parse(L"{&#color=#ffffffffff}x")[0].color, 0x7FFFFFFF);
    EXPECT_EQ(Parse(L"{&#color=-99999999999}x")[0].color, INT32_MIN);
}

TEST_F(Markup, FontNumbersOutsideOneToTenPushNothing) {
    const auto runs = Parse(L"{&#font=0}a{&#font=11}b{&#font=10}c{&#font=1}d{&#font=-3}e");
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].font, nullptr);
    EXPECT_EQ(runs[1].font, nullptr);
    EXPECT_EQ(runs[2].font, fonts_.ForMarkup(10));
    EXPECT_EQ(runs[3].font, fonts_.ForMarkup(1));
    EXPECT_EQ(runs[4].font, fonts_.ForMarkup(1));
    // "font=" with no digits reads 0, which selects nothing either.
    EXPECT_EQ(Parse(L"{&#font=}x")[0].font, nullptr);
    EXPECT_EQ(Parse(L"{&#font= 3}x")[0].font, fonts_.ForMarkup(3));
}

TEST_F(Markup, EveryTagSplitsTheTextEvenWithoutEffect) {
    EXPECT_EQ(Texts(L"a{&#bogus}b"), (std::vector<std::wstring>{L"a", L"b"}));
    const auto runs = Parse(L"a{&#bogus}b");
    EXPECT_EQ(runs[0].color, runs[1].color);
    EXPECT_EQ(runs[0].font, runs[1].font);
    // fontsize=3 is no font tag: its fifth character is not "=".
    const auto sized = Parse(L"a{&#fontsize=3}b{&#}c");
    ASSERT_EQ(sized.size(), 3u);
    EXPECT_EQ(sized[1].font, nullptr);
}

TEST_F(Markup, LinkRunsTakeTheLinkColourStackNotTheTextColour) {
    auto runs = Parse(L"{&#a=button:7}go{&#/a}");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, L"go");
    EXPECT_EQ(runs[0].link, L"button:7");
    EXPECT_EQ(runs[0].color, -1);

    runs = Parse(L"{&#color=0x808080}{&#a=button:3}go{&#/a}");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].color, -1);

    runs = Parse(L"{&#acolor=0x00ff00}{&#a=x}go{&#/a}tail");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].color, 0x00ff00);
    EXPECT_EQ(runs[1].color, -1);
    EXPECT_EQ(runs[1].link, L"");
}

TEST_F(Markup, PopsNeverRemoveTheBottomEntry) {
    auto runs = Parse(L"{&#/color}{&#/color}x");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].color, -1);
    runs = Parse(L"{&#/a}{&#/font}{&#/underline}{&#/acolor}x");
    EXPECT_EQ(runs[0].link, L"");
    EXPECT_EQ(runs[0].font, nullptr);
    EXPECT_FALSE(runs[0].underline);
}

TEST_F(Markup, PopsArePerStackWithoutNestingChecks) {
    const auto runs = Parse(L"{&#font=3}{&#color=0x0000ff}a{&#/font}b{&#/color}c");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].font, fonts_.ForMarkup(3));
    EXPECT_EQ(runs[1].font, nullptr);
    EXPECT_EQ(runs[1].color, 0x0000ff);
    EXPECT_EQ(runs[2].color, -1);
}

TEST_F(Markup, AnUnclosedTagIsLiteralText) {
    EXPECT_EQ(Texts(L"{&#color=0x808080 abc"), (std::vector<std::wstring>{L"{&#color=0x808080 abc"}));
    EXPECT_EQ(Parse(L"{&#color=0x808080 abc")[0].color, -1);
    EXPECT_EQ(Texts(L"a{&#font=8}b{&#c"), (std::vector<std::wstring>{L"a", L"b{&#c"}));
}

TEST_F(Markup, TheFirstClosingBraceEndsTheTagWhateverItHolds) {
    const auto runs = Parse(L"{&#font=3{&#color=1}x");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, L"x");
    EXPECT_EQ(runs[0].font, fonts_.ForMarkup(3));
    EXPECT_EQ(runs[0].color, -1);
}

TEST_F(Markup, StrayBracesAndControlCharactersAreText) {
    EXPECT_EQ(Texts(L"a{b}c{&d}\r\n\t"), (std::vector<std::wstring>{L"a{b}c{&d}\r\n\t"}));
    EXPECT_EQ(Texts(L"{{&#x}y"), (std::vector<std::wstring>{L"{", L"y"}));
}

TEST_F(Markup, KeywordsIgnoreAsciiCaseAndMatchByPrefixInOrder) {
    auto runs = Parse(L"{&#A=button:5}X{&#/A}y");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].link, L"button:5");
    EXPECT_EQ(runs[1].link, L"");

    runs = Parse(L"{&#UNDERLINE}a{&#underlined text}b{&#/underline}c{&#/UNDERLINE}d");
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_TRUE(runs[0].underline);
    EXPECT_TRUE(runs[1].underline);
    EXPECT_TRUE(runs[2].underline);
    EXPECT_FALSE(runs[3].underline);

    // "/acolor" pops the link colour and never reaches "/a"; any other "/a..." pops the link.
    runs = Parse(L"{&#a=x}{&#acolor=5}a{&#/acolor}b{&#/anchor}c");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].color, 5);
    EXPECT_EQ(runs[1].link, L"x");
    EXPECT_EQ(runs[1].color, -1);
    EXPECT_EQ(runs[2].link, L"");
}

TEST_F(Markup, LinkTargetsAreVerbatimAndMayBeEmpty) {
    auto runs = Parse(L"{&#a=Button:0x1F {&#x}go");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].link, L"Button:0x1F {&#x");
    runs = Parse(L"{&#a=}plain{&#a=t}{&#a=}inner{&#/a}link");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].link, L"");
    EXPECT_EQ(runs[1].link, L"");
    EXPECT_EQ(runs[2].link, L"t");
}

TEST_F(Markup, TheSearchingBannerIsOneBoldWhiteRun) {
    const auto runs = Parse(L"{&#font=8}{&#color=0xffffff}正在寻找盒子{&#/color}{&#/font}");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, L"正在寻找盒子");
    EXPECT_EQ(runs[0].font, fonts_.ForMarkup(8));
    EXPECT_EQ(runs[0].color, 0xffffff);
}

TEST_F(Markup, TheFailureLineHasGreyTextARedCountAndTwoDefaultColouredLinks) {
    const auto runs = Parse(
        L"{&#font=5}{&#color=0x808080}安装失败 {&#color=0x0000ff}3{&#/color} 个    "
        L"{&#a=button:306}重新安装{&#/a}    {&#font=5}{&#a=button:305}继续安装其他应用{&#/a}");
    ASSERT_EQ(runs.size(), 6u);
    const std::vector<std::wstring> texts{L"安装失败 ", L"3", L" 个    ", L"重新安装", L"    ",
                                          L"继续安装其他应用"};
    const std::vector<int32_t> colors{0x808080, 0x0000ff, 0x808080, -1, 0x808080, -1};
    const std::vector<std::wstring> links{L"", L"", L"", L"button:306", L"", L"button:305"};
    for (size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(runs[i].text, texts[i]);
        EXPECT_EQ(runs[i].color, colors[i]);
        EXPECT_EQ(runs[i].link, links[i]);
        EXPECT_EQ(runs[i].font, fonts_.ForMarkup(5));
        EXPECT_FALSE(runs[i].underline);
    }
}

}  // namespace
