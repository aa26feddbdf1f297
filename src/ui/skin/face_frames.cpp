#include "ui/skin/face_frames.h"

namespace skin {

int ButtonFaceFrame(bool disabled, bool hover, bool pressed) {
    if (disabled) return 3;
    if (hover) return pressed ? 2 : 1;
    return 0;
}

int HeaderCellFrame(bool pressed, bool hover, bool sorted) {
    if (pressed) return 2;
    if (hover) return 1;
    return sorted ? 3 : 0;
}

int NextAnimationFrame(int current, int count) {
    const int next = current + 1;
    return next >= count ? 0 : next;
}

RowLook ListRowLook(int32_t userData, bool hover) {
    if (userData >= -16 && userData <= -4) return RowLook::Special;
    if (userData >= -3 && userData <= -1) return RowLook::Plain;
    return hover ? RowLook::Hover : RowLook::Normal;
}

}  // namespace skin
