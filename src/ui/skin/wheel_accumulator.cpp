#include "ui/skin/wheel_accumulator.h"

namespace skin {

int WheelAccumulator::Add(int delta) {
    remainder_ += delta;
    const int lines = remainder_ / kDeltaPerLine;
    remainder_ -= lines * kDeltaPerLine;
    return lines;
}

}  // namespace skin
