#include "ui/main/main_dlg.h"

#include "ui/skin/paint/skin_resources.h"

namespace ui {

namespace {

skin::CSomBitmap* Art(int number) { return skin::Skin()->Bitmap(number); }

constexpr int kDropPicture = 10030;
constexpr int kBackground = 10001;
constexpr int kPanelBackground = 10022;

}  // namespace

int CMainDlg::ClientWidth() const {
    RECT client;
    GetClientRect(hwnd_, &client);
    return client.right;
}

bool CMainDlg::FirstTabSelected() const { return tabBar_[0].IsSelected(); }

void CMainDlg::PlaceCentred(skin::CSomWnd& control, int y) { control.SetWndPos((ClientWidth() - control.Width()) / 2, y); }

void CMainDlg::Layout(int width) {
    // The three small buttons stand edge to edge at the top right.
    const int margin = IsZoomed(hwnd_) ? 2 : 6;
    const int closeX = width - closeButton_.Width() - margin;
    closeButton_.SetWndPos(closeX, 1);
    const int minimizeX = closeX - closeButton_.Width();
    minimizeButton_.SetWndPos(minimizeX, 1);
    aboutButton_.SetWndPos(minimizeX - minimizeButton_.Width(), 1);

    for (size_t i = 0; i < tabBar_.size(); ++i) tabBar_[i].SetWndPos(200 + static_cast<int>(i) * tabBar_[i].Width(), 20);

    searchAnimation_.SetWndPos(15, 46);
    noBoxPicture_.SetWndPos(15, 44);
    devicePanel_.SetWndPos(0, 25);
    for (skin::CSomWnd* picture : std::initializer_list<skin::CSomWnd*>{&waitPicture_, &readyPicture_,
                                                                        &installAnimation_, &donePicture_})
        picture->SetWndPos((width - picture->Width()) / 2, 240);
    constructionText_.SetWndPos((width - constructionText_.Width()) / 2, 320);
    installText_.SetWndPos((width - installText_.Width()) / 2, 360);
}

void CMainDlg::PaintBackground(HDC dc, const RECT*) {
    RECT client;
    GetClientRect(hwnd_, &client);
    Art(kBackground)->Draw(dc, 0, 0, client.right, client.bottom, 0);
    if (!FirstTabSelected()) return;

    skin::CSomBitmap* drop = Art(kDropPicture);
    const int x = (client.right - drop->GetFrameWidth()) / 2;
    dropRect_ = RECT{x - 10, 190, x + drop->GetFrameWidth() + 10, drop->GetFrameHeight() + 210};
    // Without a box the status lines stand on the panel's background, the panel itself hidden.
    if (pageState_ <= Identifying) Art(kPanelBackground)->DrawFrame(dc, 0, 25, 0);
    drop->DrawFrame(dc, x, 200, 0);
}

void CMainDlg::RedrawDropArea() {
    RedrawWindow(hwnd_, &dropRect_, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace ui
