#include "ui/skin/control_geometry.h"

namespace skin {

EmptyListPlaces PlaceEmptyListContent(int32_t clientWidth, int32_t clientHeight, int32_t iconWidth,
                                      int32_t iconHeight, int32_t captionWidth, int32_t captionHeight) {
    const bool hasIcon = iconWidth > 0;
    const int32_t iconPart = hasIcon ? iconWidth + kEmptyListIconGap : 0;
    const int32_t left = (clientWidth - (iconPart + captionWidth)) / 2;
    EmptyListPlaces places;
    if (hasIcon) places.icon = {left, (clientHeight - iconHeight) / 2};
    places.caption = {left + iconPart, (clientHeight - captionHeight) / 2};
    return places;
}

int32_t CloseButtonLeft(int32_t clientWidth, int32_t buttonWidth, bool maximized) {
    return clientWidth - (maximized ? 2 : 5) - buttonWidth;
}

}  // namespace skin
