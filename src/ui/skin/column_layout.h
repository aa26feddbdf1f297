#pragma once
// The columns of a list row: each has a minimum width and a weight, a share of the width left
// over; and how much of a control placed in a column shows. Platform-free.
#include <cstdint>
#include <optional>
#include <vector>

namespace skin {

struct ListColumn {
    int32_t minWidth = 0;
    float weight = 0;  // share of the free width
    int32_t x = 0;     // computed
    int32_t width = 0; // computed
};

// Every column gets its minimum width plus its weight's share of the free width (truncated),
// in column order, until shares of 1.0 in all are used up; later columns keep their minimum.
void LayOutColumns(std::vector<ListColumn>& columns, int32_t clientWidth);

// The column whose span holds x, or -1.
int ColumnAt(const std::vector<ListColumn>& columns, int32_t x);

// The column's width, cut at the right edge of an item itemWidth wide.
int32_t UsableColumnWidth(const ListColumn& column, int32_t itemWidth);

// The paint limit of a control from left to right (column coordinates) in a column: -1 when it
// shows whole, the width that shows when the column cuts it, nothing when none of it shows.
std::optional<int32_t> ControlPaintLimit(int32_t left, int32_t right, const ListColumn& column,
                                         int32_t itemWidth);

}  // namespace skin
