// Properties of the parse over generated inputs: no empty run, the runs give back the text without
// its tags, and every tag is a run boundary. The oracle below is the grammar's text rule written
// the slow, obvious way.
#include "ui/skin/text/markup_parser.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "fake_fonts.h"

namespace {

struct Stripped {
    std::wstring text;
    std::set<size_t> tagOffsets;  // offsets into text where a tag stood
};

Stripped StripTags(const std::wstring& markup) {
    Stripped out;
    for (size_t i = 0; i < markup.size();) {
        const size_t close = markup.compare(i, 3, L"{&#") == 0 ? markup.find(L'}', i + 3)
                                                                : std::wstring::npos;
        if (close != std::wstring::npos) {
            out.tagOffsets.insert(out.text.size());
            i = close + 1;
        } else {
            out.text += markup[i++];
        }
    }
    return out;
}

std::wstring GenerateMarkup(std::mt19937& random) {
    static const std::vector<std::wstring> pieces{
        L"a", L"b", L"中", L"盒", L" ", L"\t", L"\n", L"{", L"}", L"&", L"#", L"{&", L"{&#",
        L"{&#font=8}", L"{&#font=12}", L"{&#/font}", L"{&#color=0x808080}", L"{&#color=#ff}",
        L"{&#/color}", L"{&#a=button:7}", L"{&#a=button:0x1F}", L"{&#a=}", L"{&#/a}",
        L"{&#acolor=255}", L"{&#/acolor}", L"{&#underline}", L"{&#/underline}", L"{&#bogus}",
        L"{&#}", L"{&#FONT=3}", L"{&#font=3{&#color=1}", L"{&#/anchor}", L"\u0000x"};
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    std::wstring markup;
    for (int n = length(random); n > 0; --n) markup += pieces[pick(random)];
    // The parser reads up to the terminating NUL, as the caller's string ends there.
    return markup.substr(0, markup.find(L'\0'));
}

TEST(MarkupProperties, HoldForGeneratedInputs) {
    skin_test::FakeFonts fonts;
    std::mt19937 random(20240611);
    for (int sample = 0; sample < 20000; ++sample) {
        const std::wstring markup = GenerateMarkup(random);
        const auto runs = skin::ParseMarkup(markup.c_str(), fonts);
        const Stripped expected = StripTags(markup);

        std::wstring joined;
        std::set<size_t> boundaries;
        for (const skin::TextRun& run : runs) {
            ASSERT_FALSE(run.text.empty()) << "in: " << testing::PrintToString(markup);
            if (!joined.empty()) boundaries.insert(joined.size());
            joined += run.text;
        }
        ASSERT_EQ(joined, expected.text) << "in: " << testing::PrintToString(markup);
        for (size_t offset : expected.tagOffsets) {
            if (offset > 0 && offset < joined.size()) {
                ASSERT_TRUE(boundaries.count(offset)) << "tag at " << offset << " in: "
                                                      << testing::PrintToString(markup);
            }
        }
        // Runs are maximal: the parser cuts nowhere but at tags.
        for (size_t boundary : boundaries)
            ASSERT_TRUE(expected.tagOffsets.count(boundary)) << testing::PrintToString(markup);
    }
}

// Names from outside go into a caption escaped: whatever they hold, the caption shows them as they
// are, in the caption's own style, with no link.
TEST(MarkupProperties, EscapedTextComesBackAsItIsInTheCaptionsStyle) {
    skin_test::FakeFonts fonts;
    std::mt19937 random(20261209);
    const std::wstring before = L"{&#font=10}{&#color=0x808080}正在安装", after = L"，请稍候...";
    const auto style = skin::ParseMarkup((before + after).c_str(), fonts);
    ASSERT_EQ(style.size(), 1u);
    for (int sample = 0; sample < 20000; ++sample) {
        const std::wstring name = GenerateMarkup(random);
        const std::wstring markup = before + skin::EscapeMarkupText(name) + after;
        std::wstring joined;
        for (const skin::TextRun& run : skin::ParseMarkup(markup.c_str(), fonts)) {
            joined += run.text;
            ASSERT_EQ(run.font, style[0].font) << testing::PrintToString(name);
            ASSERT_EQ(run.color, style[0].color) << testing::PrintToString(name);
            ASSERT_TRUE(run.link.empty()) << testing::PrintToString(name);
        }
        ASSERT_EQ(joined, L"正在安装" + name + after) << testing::PrintToString(name);
    }
}

}  // namespace
