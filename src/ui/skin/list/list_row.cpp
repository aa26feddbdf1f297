#include "ui/skin/list/list_row.h"

namespace skin {

ListRow::~ListRow() {
    // Copied: a control's OnDestroy may not change the list it is taken from.
    const std::vector<CSomWnd*> owned = controls;
    controls.clear();
    for (CSomWnd* wnd : owned) {
        wnd->OnDestroy();
        wnd->Detach();
        wnd->DeleteThis();
    }
}

}  // namespace skin
