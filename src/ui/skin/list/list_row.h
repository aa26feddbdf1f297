#pragma once
// One item of a skinned list: the windowless controls it holds (owned by the row and disposed of
// with it) and what the list and its owner know it by.
#include <windows.h>

#include <vector>

#include "ui/skin/host/som_wnd.h"

namespace skin {

// Bit of a row's extra value: the row's controls may span the whole item, past their column.
inline constexpr DWORD kRowSpansItem = 1;

struct ListRow {
    ListRow(LPARAM userData, int kind, DWORD extra) : kind(kind), userData(userData), extra(extra) {}
    // Each control gets OnDestroy, is detached and disposed of.
    ~ListRow();
    ListRow(const ListRow&) = delete;
    ListRow& operator=(const ListRow&) = delete;

    std::vector<CSomWnd*> controls;
    int indexHint = -1;  // last known item index
    int kind;            // selects the column layout
    LPARAM userData;     // unique in its list; -16 to -1 are row styles of the skinned list
    DWORD extra;
};

}  // namespace skin
