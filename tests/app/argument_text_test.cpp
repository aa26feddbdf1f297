#include "app/argument_text.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kProgram = L"C:\\Program Files\\Mivora\\MivoraBoxAssistant.exe";

std::wstring Args(const std::wstring& commandLine) { return app::ExtractArgumentText(commandLine, kProgram); }

TEST(ArgumentText, ArgumentsFollowTheQuotedOrBareProgramPath) {
    EXPECT_EQ(Args(L"\"C:\\Program Files\\Mivora\\MivoraBoxAssistant.exe\" -adblog"), L"-adblog");
    EXPECT_EQ(Args(L"C:\\Mivora\\MivoraBoxAssistant.exe /update:1"), L"/update:1");
    EXPECT_EQ(Args(L"MivoraBoxAssistant.exe   -adblog   "), L"-adblog");
}

TEST(ArgumentText, OnlyTheProgramPathGivesNothing) {
    EXPECT_EQ(Args(L"\"C:\\Program Files\\Mivora\\MivoraBoxAssistant.exe\""), L"");
    EXPECT_EQ(Args(L"\"C:\\Program Files\\Mivora\\MivoraBoxAssistant.exe\"   "), L"");
    EXPECT_EQ(Args(L""), L"");
}

TEST(ArgumentText, ProgramNameIsFoundWhateverItsLetterCase) {
    EXPECT_EQ(Args(L"\"c:\\program files\\mivora\\MIVORABOXASSISTANT.EXE\" /update:1"), L"/update:1");
}

TEST(ArgumentText, AProgramPathThatNamesAnotherFileGivesNothing) {
    // A short (8.3) spelling of the program's name does not contain its long name.
    EXPECT_EQ(Args(L"C:\\PROGRA~1\\Mivora\\MIVORA~1.EXE -adblog"), L"");
}

TEST(ArgumentText, QuotedFirstArgumentLosesItsQuotes) {
    EXPECT_EQ(Args(L"\"C:\\Program Files\\Mivora\\MivoraBoxAssistant.exe\" \"D:\\my apps\\a.apk\""),
              L"D:\\my apps\\a.apk");
    // Only one quote is taken from each end; inner quotes stay.
    EXPECT_EQ(Args(L"\"C:\\Program Files\\Mivora\\MivoraBoxAssistant.exe\" -adblog \"x y\""), L"-adblog \"x y");
}

TEST(ArgumentText, OverlongCommandLineIsCutNotOverflowed) {
    const std::wstring line = L"MivoraBoxAssistant.exe " + std::wstring(10000, L'a');
    const std::wstring text = Args(line);
    EXPECT_EQ(text.size(), app::kArgumentTextCapacity - std::wstring(L"MivoraBoxAssistant.exe ").size());
    EXPECT_EQ(text.find_first_not_of(L'a'), std::wstring::npos);
}

TEST(OptionValue, ReadsTheNumberAfterTheKey) {
    bool found = false;
    EXPECT_EQ(app::FindOptionValue(L"-adblog /update:17 x", L"/update:", found), 17);
    EXPECT_TRUE(found);
    EXPECT_EQ(app::FindOptionValue(L"/update:\"42\" x", L"/update:", found), 42);
    EXPECT_TRUE(found);
}

TEST(OptionValue, PresentButNotNumericIsZeroAndFound) {
    bool found = false;
    EXPECT_EQ(app::FindOptionValue(L"/update:", L"/update:", found), 0);
    EXPECT_TRUE(found);
    EXPECT_EQ(app::FindOptionValue(L"/update:now", L"/update:", found), 0);
    EXPECT_TRUE(found);
    // An unclosed quote: the value runs to the next blank, quote included, and reads as 0.
    EXPECT_EQ(app::FindOptionValue(L"/update:\"12 3", L"/update:", found), 0);
    EXPECT_TRUE(found);
}

TEST(OptionValue, AbsentOrDifferentlyCasedKeyIsNotFound) {
    bool found = true;
    EXPECT_EQ(app::FindOptionValue(L"-adblog", L"/update:", found), 0);
    EXPECT_FALSE(found);
    found = true;
    EXPECT_EQ(app::FindOptionValue(L"/UPDATE:1", L"/update:", found), 0);
    EXPECT_FALSE(found);
}

TEST(OptionValue, OverlongValueIsCutAt258Characters) {
    bool found = false;
    // 258 digits of 1 overflow either way; the cut must not read past its buffer.
    const std::wstring value = L"/update:" + std::wstring(300, L'9');
    EXPECT_EQ(app::FindOptionValue(value, L"/update:", found), INT32_MAX);
    EXPECT_TRUE(found);
    const std::wstring padded = L"/update:" + std::wstring(258, L'0') + L"7";
    EXPECT_EQ(app::FindOptionValue(padded, L"/update:", found), 0);
}

TEST(CommandLogOption, AnyCaseSensitiveOccurrenceCounts) {
    EXPECT_TRUE(app::WantsCommandLog(L"-adblog"));
    EXPECT_TRUE(app::WantsCommandLog(L"/update:1 x-adblogy"));
    EXPECT_FALSE(app::WantsCommandLog(L"-ADBLOG"));
    EXPECT_FALSE(app::WantsCommandLog(L""));
}

}  // namespace
