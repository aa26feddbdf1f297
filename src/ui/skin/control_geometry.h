#pragma once
// Where controls put their parts: the empty list's icon and caption, the skinned dialog's close
// button. Platform-free.
#include <cstdint>

namespace skin {

struct Point {
    int32_t x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct EmptyListPlaces {
    Point icon, caption;
};

// The icon (when iconWidth > 0) and the caption side by side, 10 pixels apart, centred as a pair
// in the client area; each centred vertically on its own.
EmptyListPlaces PlaceEmptyListContent(int32_t clientWidth, int32_t clientHeight, int32_t iconWidth,
                                      int32_t iconHeight, int32_t captionWidth, int32_t captionHeight);

inline constexpr int32_t kEmptyListIconGap = 10;

// The close button's left edge in the top-right corner of a dialog clientWidth wide.
int32_t CloseButtonLeft(int32_t clientWidth, int32_t buttonWidth, bool maximized);

}  // namespace skin
