#pragma once
// The skinned list's arithmetic, free of the platform: proportional columns and how much of a
// control a column shows, mouse-wheel steps, the look of a row by its user data, and where an
// empty list puts its icon and caption.
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

// Mouse-wheel deltas turned into whole lines: every 120 units one line, the rest kept for the
// next turn.
class WheelAccumulator {
public:
    static constexpr int kDeltaPerLine = 120;

    // Adds a delta; returns the lines to scroll now, positive up, negative down.
    int Add(int delta);
    int Remainder() const { return remainder_; }

private:
    int remainder_ = 0;
};

// What a row of the skinned list stands on; user data -16 to -1 are row styles.
enum class RowLook { Normal, Hover, Special, Plain };
RowLook ListRowLook(int32_t userData, bool hover);
inline constexpr int kRowFrameNormal = 0, kRowFrameHover = 1, kRowFrameSpecial = 2;

// The icon (when iconWidth > 0) and the caption of an empty list side by side, 10 pixels apart,
// centred as a pair in the client area; each centred vertically on its own.
struct EmptyListPlaces {
    int32_t iconX = 0, iconY = 0;
    int32_t captionX = 0, captionY = 0;
    friend bool operator==(const EmptyListPlaces&, const EmptyListPlaces&) = default;
};
inline constexpr int32_t kEmptyListIconGap = 10;
EmptyListPlaces PlaceEmptyListContent(int32_t clientWidth, int32_t clientHeight, int32_t iconWidth,
                                      int32_t iconHeight, int32_t captionWidth, int32_t captionHeight);

}  // namespace skin
