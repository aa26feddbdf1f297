#include "ui/skin/dialog/menu_tip.h"

#include "skin_art.h"
#include "ui/skin/paint/skin_resources.h"

namespace skin {

CMenuTip::CMenuTip(UINT choiceMessage) : CSomDialogFrame(Skin()->Bitmap(art::kWindow)), choiceMessage_(choiceMessage) {}

LRESULT CMenuTip::OnInitDialog(UINT, WPARAM, LPARAM, bool&) {
    RECT client{};
    GetClientRect(Handle(), &client);
    boxList_.Create(Handle(), client, kListId, 0);
    boxList_.SetRowHeight(CLFListBox::RowPicture()->GetFrameHeight());
    boxList_.SetColumns(0, {ListColumn{0, 1.0f}});
    boxList_.SetHoverHighlight(true);
    boxList_.DeleteAllRows();
    // An empty picker shows nothing at all.
    boxList_.SetEmptyContent(nullptr, L"", nullptr, 0x666666);
    return 0;
}

LRESULT CMenuTip::OnSize(UINT, WPARAM wParam, LPARAM lParam, bool&) {
    if (wParam != SIZE_MINIMIZED && boxList_.IsWindow()) {
        MoveWindow(boxList_.Handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), FALSE);
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    return 0;
}

LRESULT CMenuTip::OnActivate(UINT, WPARAM wParam, LPARAM lParam, bool&) {
    // The owner taking the activation back is no sign that the user turned away: under Wine the
    // activation that the click opening the picker gave the owner can arrive after the picker has
    // shown. The owner's own clicks close the picker instead (WatchOwner).
    if (LOWORD(wParam) == WA_INACTIVE && reinterpret_cast<HWND>(lParam) != GetWindow(Handle(), GW_OWNER)) Hide();
    return 0;
}

LRESULT CMenuTip::OnOwnerClick(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    Hide();
    return 0;
}

LRESULT CMenuTip::OnOwnerActivate(UINT, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = false;
    if (LOWORD(wParam) == WA_INACTIVE && reinterpret_cast<HWND>(lParam) != Handle()) Hide();
    return 0;
}

LRESULT CMenuTip::OnOwnerActivateApp(UINT, WPARAM wParam, LPARAM, bool& handled) {
    handled = false;
    if (!wParam) Hide();
    return 0;
}

void CMenuTip::Hide() {
    if (IsWindow()) ShowWindow(Handle(), SW_HIDE);
}

LRESULT CMenuTip::OnClose(UINT, WPARAM, LPARAM, bool&) {
    DestroyWindow(Handle());
    return 0;
}

void CMenuTip::ShowAt(int x, int y) {
    CSomBitmap* row = CLFListBox::RowPicture();
    SetWindowPos(Handle(), nullptr, x, y, row->GetFrameWidth(), row->GetFrameHeight() * boxList_.RowCount(),
                 SWP_NOZORDER | SWP_SHOWWINDOW);
}

LRESULT CMenuTip::OnRowClicked(int, NMHDR* header, bool& handled) {
    if (header->hwndFrom != boxList_.Handle()) {
        handled = false;
        return 0;
    }
    const ListRow* row = boxList_.RowAt(reinterpret_cast<const NMLISTROWCLICK*>(header)->item);
    ::PostMessageW(GetWindow(Handle(), GW_OWNER), choiceMessage_, row ? static_cast<WPARAM>(row->userData) : 0, 0);
    Hide();
    return 0;
}

}  // namespace skin
