// The controls page: every windowless control in every state on the blue band and the light page,
// a list with a header and rows, empty lists, the picker and a skinned dialog.
#include <string>

#include "gallery_controls.h"
#include "gallery_dialog.h"
#include "gallery_window.h"
#include "ui/skin/button/lf_buttons.h"
#include "ui/skin/button/som_button3.h"
#include "ui/skin/header/som_header_ctrl.h"
#include "ui/skin/image/som_image_wnd.h"
#include "ui/skin/paint/caption_text.h"
#include "ui/skin/paint/skin_resources.h"

namespace gallery {

namespace {

constexpr int kBandHeight = 330;
constexpr uint32_t kShown = skin::kSomVisible | skin::kSomAutoSize;
enum State { kNormal, kHover, kPressed, kDisabled };
constexpr const wchar_t* kStateNames[] = {L"常态", L"悬停", L"按下", L"停用"};
constexpr RECT kListPlace{20, 470, 420, 700};  // header and three rows
constexpr RECT kIconListPlace{440, 470, 740, 610};
constexpr RECT kBlankListPlace{440, 630, 740, 700};
constexpr POINT kPickerAt{770, 470};  // client coordinates
constexpr POINT kDialogAt{950, 470};
constexpr COLORREF kFrameColor = RGB(0xD3, 0xDE, 0xE9);

std::string Number(long value) { return std::to_string(value); }

// Puts a control into a state as the pointer would.
void Pin(skin::CSomWnd& wnd, State state) {
    if (state == kHover || state == kPressed) wnd.OnMouseEnter({1, 1});
    if (state == kPressed) wnd.OnLButtonDown({1, 1});
}

uint32_t Flags(State state) { return kShown | (state == kDisabled ? uint32_t{skin::kSomDisabled} : 0u); }

}  // namespace

void GalleryWindow::NoteFrame(int resource, int frame, const skin::CSomWnd& wnd, COLORREF backdrop) {
    skin::CSomBitmap* bitmap = skin::Skin()->Bitmap(resource);
    Note({"frame", Number(resource), Number(frame), Number(wnd.Bounds().left), Number(wnd.Bounds().top),
          Number(bitmap->GetFrameWidth()), Number(bitmap->GetFrameHeight()), Number(backdrop)});
}

void GalleryWindow::BuildControls() {
    manager_.pinPresses = true;
    manager_.background = [](HDC dc) {
        const RECT page{0, kBandHeight, kWidth, kHeight};
        FillRect(dc, &page, skin::Skin()->lightBrush);
        HBRUSH band = CreateSolidBrush(kBlueBackdrop);
        const RECT top{0, 0, kWidth, kBandHeight};
        FillRect(dc, &top, band);
        DeleteObject(band);
        // The empty lists have nothing at their edges: a hairline shows where they are.
        HBRUSH frame = CreateSolidBrush(kFrameColor);
        for (RECT list : {kIconListPlace, kBlankListPlace}) {
            InflateRect(&list, 1, 1);
            FrameRect(dc, &list, frame);
        }
        DeleteObject(frame);
    };
    AddImageButtons();
    AddPanelsAndTabs();
    AddPicturesAndAnimations();
    AddLists();
    AddEmptyLists();
    // The picker and the dialog are pop-ups that OpenPopups shows under these labels.
    NoteInk(AddText(kPickerAt.x, 446, L"{&#font=4}{&#color=0x505050}下拉选择"), 0x505050);
    NoteInk(AddText(kDialogAt.x, 446, L"{&#font=4}{&#color=0x505050}皮肤对话框与提示"), 0x505050);
}

// The image buttons in their four states: the three small buttons of the title band and the push
// button with an icon.
void GalleryWindow::AddImageButtons() {
    NoteInk(AddText(20, 10, L"{&#font=4}{&#color=0xffffff}图像按钮：常态、悬停、按下、停用"), 0);
    const int faces[] = {10012, 10023, 10024, 10013};
    int x = 20;
    for (int face : faces) {
        for (int state = kNormal; state <= kDisabled; ++state) {
            auto& button = Add<skin::CSomButton3>();
            button.SetFaceBitmap(skin::Skin()->Bitmap(face));
            if (face == 10013) button.SetIcon(skin::Skin()->Bitmap(10002), 11);
            button.Create(&manager_, nullptr, 0, x, 40, 0, 0, 0, Flags(static_cast<State>(state)));
            Pin(button, static_cast<State>(state));
            if (face != 10013) NoteFrame(face, state, button, kBlueBackdrop);
            x += button.Width() + 8;
        }
        x += 24;
    }
}

// Panel buttons (normal, hover, both badges, disabled) and the tabs of both kinds.
void GalleryWindow::AddPanelsAndTabs() {
    NoteInk(AddText(20, 78, L"{&#font=4}{&#color=0xffffff}面板按钮：常态、悬停、徽标 1、徽标 2、停用、放不下的名字"), 0);
    const State panelStates[] = {kNormal, kHover, kNormal, kNormal, kDisabled, kNormal};
    for (int i = 0; i < 6; ++i) {
        auto& panel = Add<skin::CLFPanelButton>();
        panel.Create(&manager_, nullptr, 0, 20 + i * 190, 102, 0, 0, 301, Flags(panelStates[i]));
        panel.SetTitle(i == 5 ? L"名字很长很长很长的盒子" : L"客厅的盒子");
        panel.SetSubtitle(L"192.168.1.20");
        if (i == 2 || i == 3) panel.SetBadge(i - 1);
        Pin(panel, panelStates[i]);
    }

    NoteInk(AddText(20, 184, L"{&#font=4}{&#color=0xffffff}标签：常态、悬停、选中、选中并悬停"), 0);
    const int icons[] = {10015, 10016, 10017, 10015};
    const wchar_t* captions[] = {L"安装应用", L"应用管理", L"任务管理", L"安装应用"};
    for (int i = 0; i < 4; ++i) {
        auto& tab = Add<skin::CLFToolBarHButton>();
        tab.SetIcon(skin::Skin()->Bitmap(icons[i]));
        tab.SetCaption(captions[i]);
        tab.Create(&manager_, nullptr, 0, 20 + i * 90, 210, 0, 0, 1001 + i, kShown);
        if (i >= 2) tab.SetSelected(true);
        if (i % 2) Pin(tab, kHover);
    }
    for (int i = 0; i < 3; ++i) {
        auto& tab = Add<skin::CLFToolBarVButton>();
        tab.SetIcon(skin::Skin()->Bitmap(icons[i]));
        tab.SetCaption(captions[i]);
        tab.Create(&manager_, nullptr, 0, 400 + i * 210, 214, 0, 0, 1101 + i, kShown);
        if (i == 1) Pin(tab, kHover);
        if (i == 2) tab.SetSelected(true);
    }
}

// Still pictures, and the two animations at every one of their frames.
void GalleryWindow::AddPicturesAndAnimations() {
    NoteInk(AddText(20, 302, L"{&#font=4}{&#color=0xffffff}动画：每一帧"), 0);
    int x = 140;
    for (int frame = 0; frame < 8; ++frame) {
        auto& search = Add<skin::CSomAnimation>();
        search.SetBitmap(skin::Skin()->Bitmap(10019));
        search.Create(&manager_, nullptr, 0, x, 296, 0, 0, 0, kShown);
        for (int step = 0; step < frame; ++step) search.OnTick();
        NoteFrame(10019, frame, search, kBlueBackdrop);
        x += 38;
    }
    NoteInk(AddText(20, 342, L"{&#font=4}{&#color=0x505050}图片与安装动画"), 0x505050);
    x = 150;
    for (int resource : {10029, 10031, 10033}) {
        auto& picture = Add<skin::CSomImageWnd>();
        picture.SetBitmap(skin::Skin()->Bitmap(resource));
        picture.Create(&manager_, nullptr, 0, x, 338, 0, 0, 0, kShown);
        NoteFrame(resource, 0, picture, skin::kLightBackground);
        x += picture.Width() + 12;
    }
    for (int frame = 0; frame < 8; ++frame) {
        auto& installing = Add<skin::CSomAnimation>();
        installing.SetBitmap(skin::Skin()->Bitmap(10032));
        installing.Create(&manager_, nullptr, 0, x, 338, 0, 0, 0, kShown);
        for (int step = 0; step < frame; ++step) installing.OnTick();
        NoteFrame(10032, frame, installing, skin::kLightBackground);
        x += 78;
    }
}

void GalleryWindow::AddBoxRows(skin::CLFListBox& list, int count, bool withState) {
    struct Box {
        LPARAM userData;
        const wchar_t* name;
        const wchar_t* address;
        const wchar_t* state;
    };
    const Box boxes[] = {{1, L"客厅的盒子", L"192.168.1.20", L"{&#font=3}{&#color=0xffffff}已连接"},
                         {2, L"卧室里那台名字非常长的盒子", L"192.168.1.21",
                          L"{&#font=3}{&#acolor=0xffffff}{&#underline}{&#a=button:77}重新连接{&#/a}"},
                         {-5, L"书房的盒子", L"192.168.1.22", L"{&#font=3}{&#color=0xffffff}正在安装"}};
    for (int i = 0; i < count; ++i) {
        const Box& box = boxes[i];
        list.InsertRow(list.RowCount(), box.userData, [&](skin::ListRow& row) {
            auto* name = list.CreateRowControl<skin::CSomTextWnd>(row, 0, 12, 15, 0, 0, 0, kShown);
            name->SetTextFormat(L"{&#font=8}{&#color=0xffffff}%s", box.name);
            auto* address = list.CreateRowControl<skin::CSomTextWnd>(row, 0, 12, 40, 0, 0, 1, kShown);
            address->SetTextFormat(L"{&#font=3}{&#color=0xffffff}%s", box.address);
            if (withState) list.CreateRowControl<skin::CSomTextWnd>(row, 1, 12, 26, 0, 0, 2, kShown)->SetText(box.state);
        });
    }
}

// A header over a list of three rows in two columns: one row lit by the pointer (the save mode
// puts it there), one with a name cut at its column's edge, one in the dark row style.
void GalleryWindow::AddLists() {
    NoteInk(AddText(20, 446, L"{&#font=4}{&#color=0x505050}列表：表头（排序列）、悬停行、截断的名字、特殊行"), 0x505050);
    const int width = kListPlace.right - kListPlace.left;
    HWND header = CreateWindowExW(0, WC_HEADERW, nullptr, WS_CHILD | WS_VISIBLE | HDS_BUTTONS | HDS_HORZ,
                                  kListPlace.left, kListPlace.top, width, 23, hwnd_, nullptr, nullptr, nullptr);
    const wchar_t* titles[] = {L"盒子", L"状态"};
    const int widths[] = {260, width - 260};
    for (int i = 0; i < 2; ++i) {
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.cxy = widths[i];
        item.fmt = HDF_STRING | (i ? HDF_CENTER : HDF_LEFT);
        item.pszText = const_cast<wchar_t*>(titles[i]);
        SendMessageW(header, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    auto& skinned = AddWindow<skin::CLFHeaderCtrl>();
    skinned.Attach(header);
    skinned.SetSortColumn(0, true);

    auto& list = AddWindow<skin::CLFListBox>();
    boxList_ = &list;
    list.Create(hwnd_, {kListPlace.left, kListPlace.top + 23, kListPlace.right, kListPlace.bottom}, 0x83, 0);
    list.SetRowHeight(skin::CLFListBox::RowPicture()->GetFrameHeight());
    list.SetColumns(0, {skin::ListColumn{200, 0.0f}, skin::ListColumn{0, 1.0f}});
    AddBoxRows(list, 3, true);
}

// An empty list with its icon and caption, and one told to draw nothing.
void GalleryWindow::AddEmptyLists() {
    NoteInk(AddText(440, 446, L"{&#font=4}{&#color=0x505050}空列表：图标与说明、什么也不画"), 0x505050);
    auto& withCaption = AddWindow<skin::CLFListBox>();
    withCaption.Create(hwnd_, kIconListPlace, 0x84, 0);
    withCaption.SetEmptyContent(skin::Skin()->Bitmap(10034), L"没有找到盒子", skin::SkinFont(5), 0x666666);
    const skin::EmptyListPlaces at = withCaption.EmptyPlaces();
    const SIZE size = withCaption.CaptionSize();
    Note({"ink", Number(kIconListPlace.left + at.captionX), Number(kIconListPlace.top + at.captionY), Number(size.cx),
          Number(size.cy), Number(0x666666)});
    auto& blank = AddWindow<skin::CLFListBox>();
    blank.Create(hwnd_, kBlankListPlace, 0x85, 0);
    blank.SetEmptyContent(nullptr, L"", nullptr, 0x666666);
}

void GalleryWindow::OpenPopups() {
    if (page_ != Page::Controls) return;
    auto& dialog = AddWindow<GalleryDialog>();
    dialog_ = &dialog;
    dialog.place = {kDialogAt.x, kDialogAt.y};
    ClientToScreen(hwnd_, &dialog.place);
    dialog.Create(hwnd_);
    ShowWindow(dialog.Handle(), SW_SHOWNOACTIVATE);

    // Its choices go nowhere: the gallery only shows it.
    auto& picker = AddWindow<skin::CMenuTip>(WM_NULL);
    picker_ = &picker;
    picker.Create(hwnd_);
    AddBoxRows(picker.List(), 2, false);
    POINT at = kPickerAt;
    ClientToScreen(hwnd_, &at);
    // Shown last: it hides as soon as another window is activated.
    picker.ShowAt(at.x, at.y);
}

POINT GalleryWindow::ListHoverPoint() const {
    POINT point{340, 69 + 30};  // the second row, in its state column right of the link
    ClientToScreen(boxList_->Handle(), &point);
    return point;
}

POINT GalleryWindow::TooltipPoint() const {
    POINT point{GalleryDialog::kTipButtonAt.x + 30, GalleryDialog::kTipButtonAt.y + 10};
    ClientToScreen(dialog_->Handle(), &point);
    return point;
}

HWND GalleryWindow::ToolTip() const { return dialog_ ? dialog_->toolTip : nullptr; }

void GalleryWindow::NoteToolTip() {
    RECT shown{};
    GetWindowRect(ToolTip(), &shown);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&shown), 2);
    Note({"tooltip", Number(shown.left), Number(shown.top), Number(shown.right - shown.left),
          Number(shown.bottom - shown.top)});
}

}  // namespace gallery
