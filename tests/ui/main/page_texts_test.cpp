#include "ui/main/page_texts.h"

#include <gtest/gtest.h>

#include "ui/main/box_registry.h"

namespace {

namespace texts = ui::texts;

TEST(PageTexts, ResultLinesCarryTheCountsAndTheLinksCommands) {
    EXPECT_EQ(texts::InstalledCount(2), L"{&#font=5}{&#color=0x808080}安装成功 {&#color=0x009000}2{&#/color} 个");
    EXPECT_EQ(texts::FailedCountWithLinks(1), L"{&#font=5}{&#color=0x808080}安装失败 {&#color=0x0000ff}1{&#/color} 个    "
                                              L"{&#a=button:306}重新安装{&#/a}    {&#font=5}{&#a=button:305}继续安装其他应用{&#/a}");
    EXPECT_EQ(texts::ContinueLink(), L"{&#font=5}{&#a=button:305}继续安装{&#/a}");
    EXPECT_EQ(texts::InstallAgainLink(), L"{&#font=5}{&#a=button:306}重新安装{&#/a}");
}

TEST(PageTexts, StatusAndHints) {
    EXPECT_EQ(texts::StatusTitle(0), L"{&#font=8}{&#color=0xffffff}没有找到盒子{&#/color}{&#/font}");
    EXPECT_EQ(texts::StatusTitle(1), L"{&#font=8}{&#color=0xffffff}正在寻找盒子{&#/color}{&#/font}");
    EXPECT_EQ(texts::StatusTitle(2), L"{&#font=8}{&#color=0xffffff}获取盒子信息{&#/color}{&#/font}");
    EXPECT_EQ(texts::DropHintReady(L"小米盒子"), L"{&#font=10}{&#color=0x808080}拖拽APK文件到此区域可安装到小米盒子");
    EXPECT_EQ(texts::SearchAgainLink(), L"{&#font=5}{&#a=button:307}重新扫描联网的智能电视盒{&#/a}");
    EXPECT_EQ(texts::Installing(L"a b.apk"), L"{&#font=10}{&#color=0x808080}正在安装a b.apk，请稍候...");
}

// A name from outside can neither restyle nor hide the line it stands in: each "{" it holds is
// followed by an empty tag, so no tag can start in it.
TEST(PageTexts, NamesFromOutsideAreEscaped) {
    EXPECT_EQ(texts::Installing(L"x{&#color=0xffffff}.apk"),
              L"{&#font=10}{&#color=0x808080}正在安装x{{&#}&#color=0xffffff}.apk，请稍候...");
    EXPECT_EQ(texts::DropHintReady(L"{&#font=1}盒"), L"{&#font=10}{&#color=0x808080}拖拽APK文件到此区域可安装到{{&#}&#font=1}盒");
    EXPECT_EQ(texts::StatusAddress(L"{&#/color}"), L"{&#font=3}{&#color=0xffffff}{{&#}&#/color}{&#/color}{&#/font}");
    EXPECT_EQ(texts::ReasonLine({1, L"{a}.apk", L"{&#"}),
              L"{&#font=3}{&#color=0x808080}{{&#}a}.apk：{&#color=0x0000ff}{{&#}&#{&#/color}");
}

TEST(BoxRegistry, FirstConnectedBoxBecomesCurrentAndTheSecondRaisesTheBadge) {
    ui::BoxRegistry boxes;
    EXPECT_FALSE(boxes.AddConnected(10));
    EXPECT_TRUE(boxes.AddConnected(20));
    EXPECT_FALSE(boxes.AddConnected(30));
    EXPECT_EQ(boxes.Current(), 10u);
    EXPECT_EQ(boxes.Others(), (std::vector<base::BoxAddress>{20, 30}));
    boxes.SetCurrent(20);
    EXPECT_EQ(boxes.Others(), (std::vector<base::BoxAddress>{10, 30}));
    EXPECT_EQ(boxes.DisplayName(30), L"智能电视盒");
    boxes.SetName(30, L"乐视盒子");
    EXPECT_EQ(boxes.DisplayName(30), L"乐视盒子");
    // A new search forgets the boxes but keeps the names it learned.
    boxes.Reset();
    EXPECT_FALSE(boxes.HasCurrent());
    EXPECT_TRUE(boxes.Others().empty());
    EXPECT_FALSE(boxes.AddConnected(30));
    EXPECT_EQ(boxes.DisplayName(30), L"乐视盒子");
}

}  // namespace
