#include "ui/skin/menu_tip.h"

#include "win/reflection.h"

namespace skin {

bool CMenuTip::ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (CSomWndManager::ProcessWindowMessage(hwnd, msg, wParam, lParam, result)) return true;
    result = 0;
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog();
        return true;
    case WM_DESTROY:
        return true;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED && boxList_.IsWindow()) {
            MoveWindow(boxList_.Handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), FALSE);
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        return true;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) ShowWindow(hwnd, SW_HIDE);
        return true;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return true;
    case WM_LBUTTONDOWN:
        ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
        return true;
    case WM_NOTIFY: {
        const auto* click = reinterpret_cast<const NMLISTROWCLICK*>(lParam);
        if (click->header.hwndFrom != boxList_.Handle() || click->header.code != static_cast<UINT>(kListRowClicked))
            break;
        OnRowClicked(click->item);
        return true;
    }
    default:
        break;
    }
    WIN_REFLECT_NOTIFICATIONS()
    return false;
}

void CMenuTip::OnInitDialog() {
    RECT client{};
    GetClientRect(Handle(), &client);
    boxList_.Create(Handle(), client, kListId, 0);
    boxList_.SetRowHeight(Skin()->Bitmap(CLFListBox::kRowPicture)->GetFrameHeight());
    boxList_.SetColumns(0, {ListColumn{0, 1.0f}});
    boxList_.SetHoverHighlight(true);
    boxList_.DeleteAllRows();
    // An empty picker shows nothing at all.
    boxList_.SetEmptyContent(nullptr, L"", nullptr, 0x666666);
}

void CMenuTip::ShowAt(int x, int y) {
    CSomBitmap* row = Skin()->Bitmap(CLFListBox::kRowPicture);
    SetWindowPos(Handle(), nullptr, x, y, row->GetFrameWidth(), row->GetFrameHeight() * boxList_.RowCount(),
                 SWP_NOZORDER | SWP_SHOWWINDOW);
}

void CMenuTip::OnRowClicked(int item) {
    const ListRow* row = boxList_.RowAt(item);
    ::PostMessageW(GetWindow(Handle(), GW_OWNER), WM_BOX_SELECTED, row ? static_cast<WPARAM>(row->userData) : 0, 0);
    ShowWindow(Handle(), SW_HIDE);
}

}  // namespace skin
