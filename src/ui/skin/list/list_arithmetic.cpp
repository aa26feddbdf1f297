#include "ui/skin/list/list_arithmetic.h"

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

int WheelAccumulator::Add(int delta) {
    remainder_ += delta;
    const int lines = remainder_ / kDeltaPerLine;
    remainder_ -= lines * kDeltaPerLine;
    return lines;
}

RowLook ListRowLook(int32_t userData, bool hover) {
    if (userData >= -16 && userData <= -4) return RowLook::Special;
    if (userData >= -3 && userData <= -1) return RowLook::Plain;
    return hover ? RowLook::Hover : RowLook::Normal;
}

EmptyListPlaces PlaceEmptyListContent(int32_t clientWidth, int32_t clientHeight, int32_t iconWidth,
                                      int32_t iconHeight, int32_t captionWidth, int32_t captionHeight) {
    const bool hasIcon = iconWidth > 0;
    const int32_t iconPart = hasIcon ? iconWidth + kEmptyListIconGap : 0;
    const int32_t left = (clientWidth - (iconPart + captionWidth)) / 2;
    EmptyListPlaces places;
    if (hasIcon) {
        places.iconX = left;
        places.iconY = (clientHeight - iconHeight) / 2;
    }
    places.captionX = left + iconPart;
    places.captionY = (clientHeight - captionHeight) / 2;
    return places;
}

}  // namespace skin
