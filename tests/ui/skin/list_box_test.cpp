// The owner-drawn list of windowless rows in a real window under real pointer input: rows with
// text controls, the row under the pointer lit on the screen, row clicks and control clicks
// reported to the parent, columns that cut their controls, the empty list's caption, scrolling,
// and rows that take their controls with them.
#include <windows.h>
#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "probe_wnd.h"
#include "ui/skin/list/lf_list_box.h"
#include "ui/skin/paint/caption_text.h"
#include "ui/skin/paint/skin_resources.h"
#include "ui/skin/text/som_text_wnd.h"

namespace {

using skin::kSomAutoSize;
using skin::kSomVisible;
using skin::ListColumn;
using skin::ListRow;
using skin_test::Canvas;

constexpr UINT kListId = 0x83;
constexpr int kRowHeight = 69;
constexpr RECT kListPlace{10, 10, 310, 10 + 3 * kRowHeight};

// A text control that counts its kind's calls from the list that owns it.
class CountedText : public skin::CSomTextWnd {
public:
    static inline int alive = 0, destroyed = 0;
    CountedText() { ++alive; }
    ~CountedText() override { --alive; }
    void OnDestroy() override { ++destroyed; }
};

class List : public ::testing::Test {
protected:
    void SetUp() override {
        skin_test::MouseMove({20, 20});
        CountedText::alive = CountedText::destroyed = 0;
    }
    void Make(DWORD style = 0, RECT place = kListPlace) {
        ASSERT_TRUE(list_.Create(parent_.Handle(), place, kListId, style));
        list_.SetRowHeight(kRowHeight);
        skin_test::Pump();
    }
    // A row like the device picker's: a name over an address, user data the row's number.
    int AddRow(LPARAM userData, const wchar_t* name, const wchar_t* extraMarkup = nullptr) {
        return list_.InsertRow(list_.RowCount(), userData, [&](ListRow& row) {
            auto* title = list_.CreateRowControl<CountedText>(row, 0, 12, 15, 0, 0, 0, kSomVisible | kSomAutoSize);
            title->SetTextFormat(L"{&#font=8}{&#color=0xffffff}%s", name);
            auto* address = list_.CreateRowControl<CountedText>(row, 0, 12, 40, 0, 0, 1, kSomVisible | kSomAutoSize);
            address->SetText(extraMarkup ? extraMarkup : L"{&#font=3}{&#color=0xffffff}192.168.1.20");
        });
    }
    POINT At(int x, int y) const { return parent_.ScreenPoint(list_.Handle(), x, y); }
    POINT InRow(int slot, int x = 250) const { return At(x, slot * kRowHeight + kRowHeight / 2); }
    Canvas& Shot() {
        skin_test::CaptureClient(list_.Handle(), shot_);
        return shot_;
    }
    // Which frame of the row picture shows in a strip of row slot that no control covers.
    int ShownRowFrame(int slot) {
        RECT client{};
        GetClientRect(list_.Handle(), &client);
        const int top = slot * kRowHeight;
        const RECT strip{client.right - 90, top + 4, client.right - 50, top + 12};
        return skin_test::ShownFrame(Shot(), strip, 3, [&](HDC dc, int frame) {
            skin::Skin()->Bitmap(10022)->Draw(dc, 0, top, client.right, kRowHeight, frame);
        });
    }
    int WhiteInk(const RECT& area) { return skin_test::WhiteInk(Shot(), area); }
    // A control's rectangle in the list's client coordinates.
    RECT ListArea(const skin::CSomWnd& wnd) {
        auto* row = static_cast<ListRow*>(wnd.OwnerItem());
        RECT item{};
        SendMessageW(list_.Handle(), LB_GETITEMRECT, list_.RowIndex(*row), reinterpret_cast<LPARAM>(&item));
        RECT area = wnd.Bounds();
        OffsetRect(&area, item.left + list_.Columns(row->kind)[wnd.Column()].x, item.top);
        return area;
    }
    std::vector<int> RowClicks() const {
        std::vector<int> items;
        for (const auto& n : parent_.notifications) {
            if (n.code == skin::kListRowClicked && n.id == kListId) items.push_back(n.item);
        }
        return items;
    }
    int Selection() const { return static_cast<int>(SendMessageW(list_.Handle(), LB_GETCURSEL, 0, 0)); }

    skin_test::ParentWindow parent_;
    skin::CLFListBox list_;
    Canvas shot_{300, 3 * kRowHeight, RGB(0, 0, 0)};
};

TEST_F(List, RowsHoldTheirTextControls) {
    Make();
    ASSERT_EQ(AddRow(0x0A01A8C0, L"客厅的盒子"), 0);
    ASSERT_EQ(AddRow(0x0B01A8C0, L"卧室的盒子"), 1);
    EXPECT_EQ(AddRow(0x0A01A8C0, L"again"), -1);  // user data is taken
    EXPECT_EQ(list_.RowCount(), 2);
    ListRow* row = list_.FindRow(0x0B01A8C0);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(list_.RowIndex(*row), 1);
    ASSERT_EQ(row->controls.size(), 2u);
    const skin::CSomWnd& title = *row->controls[0];
    EXPECT_EQ(title.OwnerItem(), row);
    EXPECT_GT(title.Width(), 60);  // sized to its text
    skin_test::Pump();
    EXPECT_GT(WhiteInk(ListArea(title)), 20);
    EXPECT_GT(WhiteInk(ListArea(*row->controls[1])), 20);
}

TEST_F(List, TheRowUnderThePointerLightsUpAndGoesOutWhenThePointerLeaves) {
    Make();
    for (int i = 0; i < 3; ++i) AddRow(i + 1, L"盒子");
    skin_test::Pump();
    EXPECT_EQ(ShownRowFrame(0), 0);
    skin_test::MouseMove(InRow(1));
    EXPECT_EQ(list_.HoverRow(), 1);
    EXPECT_EQ(ShownRowFrame(1), 1);
    EXPECT_EQ(ShownRowFrame(0), 0);
    skin_test::MouseMove(InRow(2));
    EXPECT_EQ(ShownRowFrame(1), 0);
    EXPECT_EQ(ShownRowFrame(2), 1);
    // Straight out of the window: the tick notices.
    skin_test::MouseMove({20, 20});
    EXPECT_TRUE(skin_test::PumpUntil([&] { return list_.HoverRow() == -1; }));
    EXPECT_EQ(ShownRowFrame(2), 0);
}

TEST_F(List, AClickOnARowReportsTheRowAndSelectsIt) {
    Make();
    for (int i = 0; i < 3; ++i) AddRow(i + 1, L"盒子");
    skin_test::Click(InRow(1));
    EXPECT_EQ(RowClicks(), (std::vector<int>{1}));
    EXPECT_EQ(Selection(), 1);
    for (const auto& [wParam, lParam] : parent_.commands)
        EXPECT_NE(HIWORD(wParam), skin::CLFListBox::kControlClicked);  // no control was clicked
}

TEST_F(List, AClickOnAControlReportsTheControlWithTheRowsUserData) {
    Make();
    AddRow(0x51, L"盒子");
    AddRow(0x52, L"盒子", L"{&#font=3}{&#a=button:77}重新安装{&#/a}");
    const RECT link = ListArea(*list_.FindRow(0x52)->controls[1]);
    skin_test::Click(At((link.left + link.right) / 2, (link.top + link.bottom) / 2));
    ASSERT_EQ(parent_.commands.size(), 1u);
    EXPECT_EQ(parent_.commands[0].first, MAKEWPARAM(77, skin::CLFListBox::kControlClicked));
    EXPECT_EQ(parent_.commands[0].second, 0x52);
    EXPECT_TRUE(RowClicks().empty());  // the control took the press
}

TEST_F(List, APressBelowTheLastRowChangesNothing) {
    Make();
    AddRow(1, L"盒子");
    skin_test::Click(InRow(2));
    EXPECT_TRUE(RowClicks().empty());
    EXPECT_EQ(Selection(), LB_ERR);
}

TEST_F(List, KeysDoNotMoveTheSelection) {
    Make();
    for (int i = 0; i < 3; ++i) AddRow(i + 1, L"盒子");
    skin_test::Click(InRow(0));
    ASSERT_EQ(Selection(), 0);
    PostMessageW(list_.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(list_.Handle(), WM_KEYUP, VK_DOWN, 0);
    skin_test::Pump();
    EXPECT_EQ(Selection(), 0);
}

TEST_F(List, ADoubleClickInARowReachesTheControl) {
    Make();
    skin_test::ProbeWnd* probe = nullptr;
    list_.InsertRow(0, 7, [&](ListRow& row) {
        probe = list_.CreateRowControl<skin_test::ProbeWnd>(row, 0, 100, 10, 40, 40, 5, kSomVisible);
    });
    ASSERT_NE(probe, nullptr);
    skin_test::MouseMove(At(120, 30));
    for (int i = 0; i < 2; ++i) {
        skin_test::MouseDown();
        skin_test::MouseUp();
    }
    EXPECT_EQ(probe->Count("dblclk"), 1);  // which presses again, as the first press did
    // Each press ended on the control: two clicks, each with the row's user data.
    EXPECT_EQ(parent_.commands, (std::vector<std::pair<WPARAM, LPARAM>>{{MAKEWPARAM(5, 0x1001), 7},
                                                                        {MAKEWPARAM(5, 0x1001), 7}}));
}

TEST_F(List, AColumnCutsAControlThatReachesPastIt) {
    Make();
    list_.SetColumns(0, {ListColumn{100, 0.0f}, ListColumn{0, 1.0f}});
    list_.SetColumns(1, {ListColumn{100, 0.0f}, ListColumn{0, 1.0f}});
    const wchar_t* longName = L"{&#font=8}{&#color=0xffffff}一个名字很长很长的盒子";
    for (DWORD extra : {DWORD{0}, skin::kRowSpansItem}) {
        list_.InsertRow(list_.RowCount(), 10 + extra, [&](ListRow& row) {
            list_.CreateRowControl<skin::CSomTextWnd>(row, 0, 12, 15, 0, 0, 0, kSomVisible | kSomAutoSize)
                ->SetText(longName);
        }, static_cast<int>(extra), extra);
    }
    skin_test::Pump();
    ASSERT_GT(list_.FindRow(10)->controls[0]->Bounds().right, 150);
    EXPECT_GT(WhiteInk({12, 15, 100, 40}), 20);
    EXPECT_EQ(WhiteInk({100, 15, 160, 40}), 0);  // cut at the column's edge
    EXPECT_GT(WhiteInk({100, kRowHeight + 15, 160, kRowHeight + 40}), 20);  // this row spans the item
}

TEST_F(List, AnEmptyListShowsItsCaptionOrNothing) {
    Make();
    const skin_test::Rgb light = skin_test::ToRgb(skin::kLightBackground);
    list_.SetEmptyContent(nullptr, L"没有找到盒子", skin::SkinFont(5), 0x666666);
    skin_test::Pump();
    const skin::EmptyListPlaces at = list_.EmptyPlaces();
    const SIZE size = list_.CaptionSize();
    EXPECT_EQ(at.captionX, (300 - size.cx) / 2);
    const RECT caption{at.captionX, at.captionY, at.captionX + size.cx, at.captionY + size.cy};
    const skin_test::InkCount ink = skin_test::CountInk(Shot(), caption, skin::kLightBackground, 0x666666);
    EXPECT_GT(ink.strong, 20);
    EXPECT_EQ(ink.foreign, 0);
    EXPECT_EQ(shot_.At(5, 5), light);

    list_.SetEmptyContent(nullptr, L"", nullptr, 0x666666);
    skin_test::Pump();
    Shot();
    for (int y = 0; y < shot_.height(); y += 3) {
        for (int x = 0; x < shot_.width(); x += 3) ASSERT_EQ(shot_.At(x, y), light) << x << "," << y;
    }
}

TEST_F(List, AnEmptyListsIconStandsLeftOfTheCaption) {
    Make();
    skin::CSomBitmap* icon = skin::Skin()->Bitmap(10034);
    list_.SetEmptyContent(icon, L"没有找到盒子", skin::SkinFont(5), 0x666666);
    skin_test::Pump();
    const skin::EmptyListPlaces at = list_.EmptyPlaces();
    EXPECT_EQ(at.captionX, at.iconX + 33 + 10);
    EXPECT_EQ(skin_test::ShownFrame(Shot(), at.iconX, at.iconY, *icon, skin::kLightBackground), 0);
}

TEST_F(List, TheWheelScrollsWholeLinesAndTheParentHearsOfIt) {
    Make(WS_VSCROLL);
    for (int i = 0; i < 30; ++i) AddRow(100 + i, L"盒子");
    auto top = [&] { return static_cast<int>(SendMessageW(list_.Handle(), LB_GETTOPINDEX, 0, 0)); };
    SendMessageW(list_.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -240), 0);
    EXPECT_EQ(top(), 2);
    int scrolls = 0;
    for (const auto& [wParam, lParam] : parent_.commands) {
        if (wParam == MAKEWPARAM(kListId, skin::kListScrolled) && lParam == reinterpret_cast<LPARAM>(list_.Handle()))
            ++scrolls;
    }
    EXPECT_EQ(scrolls, 2);
    SendMessageW(list_.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    EXPECT_EQ(top(), 2);
    SendMessageW(list_.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    EXPECT_EQ(top(), 1);
    skin_test::Pump();
    // Rows scrolled into view are drawn and answer the pointer at their new places.
    skin_test::MouseMove(InRow(2));
    EXPECT_EQ(list_.HoverRow(), 3);
    EXPECT_EQ(ShownRowFrame(2), 1);
    EXPECT_GT(WhiteInk(ListArea(*list_.RowAt(3)->controls[0])), 20);
    skin_test::Click(InRow(1));
    EXPECT_EQ(RowClicks(), (std::vector<int>{2}));
}

TEST_F(List, RowsTakeTheirControlsWithThem) {
    Make();
    for (int i = 0; i < 3; ++i) AddRow(i + 1, L"盒子");
    EXPECT_EQ(CountedText::alive, 6);
    skin_test::MouseMove(InRow(0, 30));  // over the first row's title
    list_.DeleteRow(0);
    EXPECT_EQ(CountedText::alive, 4);
    EXPECT_EQ(CountedText::destroyed, 2);
    EXPECT_EQ(list_.FindRow(1), nullptr);
    EXPECT_EQ(list_.RowAt(0), list_.FindRow(2));
    EXPECT_EQ(list_.HoverControl(), nullptr);
    list_.DeleteRow(7);  // no such position
    EXPECT_EQ(list_.RowCount(), 2);
    DestroyWindow(list_.Handle());
    EXPECT_EQ(CountedText::alive, 0);
}

}  // namespace
