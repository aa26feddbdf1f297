#pragma once
// Where the skinned dialog puts its close button. Platform-free.
#include <cstdint>

namespace skin {

// The close button's left edge in the top-right corner of a dialog clientWidth wide.
constexpr int32_t CloseButtonLeft(int32_t clientWidth, int32_t buttonWidth, bool maximized) {
    return clientWidth - (maximized ? 2 : 5) - buttonWidth;
}

}  // namespace skin
