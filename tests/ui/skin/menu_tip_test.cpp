// The drop-down picker shell as a real window: a list filling it, its size from its rows, the
// choice of a row posted to its owner, and hiding when it loses activation.
#include <windows.h>
#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "ui/skin/dialog/menu_tip.h"
#include "ui/skin/text/som_text_wnd.h"

namespace {

using skin::ListRow;

class Picker : public ::testing::Test {
protected:
    void SetUp() override {
        skin_test::MouseMove({20, 20});
        ASSERT_TRUE(picker_.Create(owner_.Handle()));
    }
    void TearDown() override {
        if (picker_.IsWindow()) DestroyWindow(picker_.Handle());
    }
    void AddBox(LPARAM address, const wchar_t* name) {
        skin::CLFListBox& list = picker_.List();
        list.InsertRow(list.RowCount(), address, [&](ListRow& row) {
            list.CreateRowControl<skin::CSomTextWnd>(row, 0, 12, 15, 0, 0, 0, skin::kSomVisible | skin::kSomAutoSize)
                ->SetTextFormat(L"{&#font=8}{&#color=0xffffff}%s", name);
        });
    }
    RECT WindowRect() const {
        RECT rect{};
        GetWindowRect(picker_.Handle(), &rect);
        return rect;
    }

    skin_test::ParentWindow owner_;
    skin::CMenuTip picker_{skin_test::ParentWindow::kChoice};
};

TEST_F(Picker, HoldsAListAndKeepsARectangularOutline) {
    EXPECT_FALSE(IsWindowVisible(picker_.Handle()));
    EXPECT_EQ(GetDlgItem(picker_.Handle(), skin::CMenuTip::kListId), picker_.List().Handle());
    HRGN outline = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(picker_.Handle(), outline), ERROR);
    DeleteObject(outline);
}

TEST_F(Picker, TakesOneRowPictureWidthAndOneRowHeightPerRowWhereItIsShown) {
    AddBox(0x15, L"客厅的盒子");
    AddBox(0x16, L"卧室的盒子");
    picker_.ShowAt(720, 492);
    skin_test::Pump();
    const RECT rect = WindowRect();
    EXPECT_EQ(rect.left, 720);
    EXPECT_EQ(rect.top, 492);
    EXPECT_EQ(rect.right - rect.left, 178);
    EXPECT_EQ(rect.bottom - rect.top, 138);
    EXPECT_TRUE(IsWindowVisible(picker_.Handle()));
    RECT list{};
    GetWindowRect(picker_.List().Handle(), &list);
    EXPECT_TRUE(EqualRect(&list, &rect));
}

TEST_F(Picker, WithoutRowsItHasNoHeight) {
    picker_.ShowAt(720, 492);
    const RECT rect = WindowRect();
    EXPECT_EQ(rect.bottom, rect.top);
}

TEST_F(Picker, AChosenRowGoesToTheOwnerAndThePickerHides) {
    AddBox(0x15, L"客厅的盒子");
    AddBox(0x16, L"卧室的盒子");
    picker_.ShowAt(720, 492);
    skin_test::Pump();
    skin_test::Click({720 + 150, 492 + 69 + 30});
    EXPECT_EQ(owner_.choices, (std::vector<WPARAM>{0x16}));
    EXPECT_FALSE(IsWindowVisible(picker_.Handle()));
}

// The user turning elsewhere closes it; its owner merely taking the activation back does not (under
// Wine, the activation that the opening click gave the owner may arrive after the picker shows).
TEST_F(Picker, StaysWhenItsOwnerIsActivatedAndHidesOnAClickInTheOwner) {
    owner_.watchedPicker = &picker_;
    AddBox(0x15, L"客厅的盒子");
    picker_.ShowAt(720, 492);
    skin_test::Pump();
    ASSERT_EQ(GetActiveWindow(), picker_.Handle());
    SetActiveWindow(owner_.Handle());
    skin_test::Pump();
    EXPECT_TRUE(IsWindowVisible(picker_.Handle()));
    skin_test::Click({900, 440});
    EXPECT_FALSE(IsWindowVisible(picker_.Handle()));
    EXPECT_TRUE(owner_.choices.empty());
}

TEST_F(Picker, HidesWhenAWindowOtherThanItsOwnerIsActivated) {
    owner_.watchedPicker = &picker_;
    skin_test::ParentWindow other({100, 100, 300, 300});
    for (HWND activeBefore : {picker_.Handle(), owner_.Handle()}) {
        AddBox(0x15, L"客厅的盒子");
        picker_.ShowAt(720, 492);
        skin_test::Pump();
        SetActiveWindow(activeBefore);
        skin_test::Pump();
        ASSERT_TRUE(IsWindowVisible(picker_.Handle()));
        SetActiveWindow(other.Handle());
        skin_test::Pump();
        EXPECT_FALSE(IsWindowVisible(picker_.Handle())) << (activeBefore == owner_.Handle() ? "owner" : "picker");
    }
    EXPECT_TRUE(owner_.choices.empty());
}

}  // namespace
