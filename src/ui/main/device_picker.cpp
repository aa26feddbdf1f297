#include "ui/main/device_picker.h"

#include "base/program_messages.h"
#include "ui/main/page_texts.h"
#include "ui/skin/text/som_text_wnd.h"

namespace ui {

namespace {

enum RowText { kName = 0, kAddress = 1 };

std::wstring AddressMarkup(base::BoxAddress box) { return texts::PickerAddress(base::BoxText(box)); }

skin::CSomTextWnd* RowText(skin::ListRow& row, int id) {
    for (skin::CSomWnd* control : row.controls)
        if (control->Id() == id) return static_cast<skin::CSomTextWnd*>(control);
    return nullptr;
}

}  // namespace

CDevicePicker::CDevicePicker() : CMenuTip(base::WM_BOX_SELECTED) {}

void CDevicePicker::CreatePicker(HWND owner) {
    Create(owner);
    addresses_.clear();
}

void CDevicePicker::ShowPicker(int x, int y, const std::vector<base::BoxAddress>& boxes, bool searchAgain) {
    addresses_ = boxes;
    searchAgain_ = searchAgain;
    RebuildRows();
    ShowAt(x, y);
}

void CDevicePicker::RebuildRows() {
    skin::CLFListBox& list = List();
    ::SendMessageW(list.Handle(), WM_SETREDRAW, FALSE, 0);
    list.DeleteAllRows();
    for (base::BoxAddress box : addresses_) {
        list.InsertRow(-1, static_cast<LPARAM>(box), [&list, box](skin::ListRow& row) {
            const uint32_t shown = skin::kSomVisible | skin::kSomAutoSize;
            list.CreateRowControl<skin::CSomTextWnd>(row, 0, 12, 15, 0, 0, kName, shown)->SetText(texts::PickerName(L"").c_str());
            list.CreateRowControl<skin::CSomTextWnd>(row, 0, 12, 40, 0, 0, kAddress, shown)
                ->SetText(AddressMarkup(box).c_str());
        });
    }
    if (searchAgain_) {
        list.InsertRow(-1, static_cast<LPARAM>(kSearchAgainRow), [&list](skin::ListRow& row) {
            list.CreateRowControl<skin::CSomTextWnd>(row, 0, 12, 25, 0, 0, kName, skin::kSomVisible | skin::kSomAutoSize)
                ->SetText(texts::PickerSearchAgain().c_str());
        });
    }
    ::SendMessageW(list.Handle(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(list.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CDevicePicker::UpdateRow(base::BoxAddress box, const std::wstring& name) {
    if (!IsWindow()) return;
    skin::ListRow* row = List().FindRow(static_cast<LPARAM>(box));
    if (!row) return;
    if (skin::CSomTextWnd* text = RowText(*row, kName)) text->SetText(texts::PickerName(name).c_str());
    if (skin::CSomTextWnd* text = RowText(*row, kAddress)) text->SetText(AddressMarkup(box).c_str());
}

}  // namespace ui
