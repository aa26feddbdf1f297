#include "ui/skin/column_layout.h"

#include <algorithm>

namespace skin {

void LayOutColumns(std::vector<ListColumn>& columns, int32_t clientWidth) {
    int32_t minimum = 0;
    for (const ListColumn& column : columns) minimum += column.minWidth;
    const int32_t free = std::max(clientWidth - minimum, 0);
    float shareLeft = 1.0f;
    int32_t x = 0;
    for (ListColumn& column : columns) {
        const float share = std::min(column.weight, shareLeft);
        column.x = x;
        // The weight is held in single precision, the product taken in double and truncated: so
        // 0.7 of 200 is 139, because the float holds slightly less than 0.7 (a float product
        // would round back up to 140).
        column.width = column.minWidth + static_cast<int32_t>(free * static_cast<double>(share));
        shareLeft = std::max(shareLeft - column.weight, 0.0f);
        x += column.width;
    }
}

int ColumnAt(const std::vector<ListColumn>& columns, int32_t x) {
    for (size_t i = 0; i < columns.size(); ++i) {
        if (x >= columns[i].x && x < columns[i].x + columns[i].width) return static_cast<int>(i);
    }
    return -1;
}

int32_t UsableColumnWidth(const ListColumn& column, int32_t itemWidth) {
    return std::min(column.width, itemWidth - column.x);
}

std::optional<int32_t> ControlPaintLimit(int32_t left, int32_t right, const ListColumn& column,
                                         int32_t itemWidth) {
    if (column.x + left >= itemWidth) return std::nullopt;
    const int32_t usable = UsableColumnWidth(column, itemWidth);
    if (right <= usable) return -1;
    if (usable - left <= 0) return std::nullopt;
    return usable - left;
}

}  // namespace skin
