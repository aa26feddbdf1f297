#pragma once
// Mouse-wheel deltas turned into whole lines: every 120 units one line, the rest kept for the
// next turn. Platform-free.
namespace skin {

class WheelAccumulator {
public:
    static constexpr int kDeltaPerLine = 120;

    // Adds a delta; returns the lines to scroll now, positive up, negative down.
    int Add(int delta);
    int Remainder() const { return remainder_; }

private:
    int remainder_ = 0;
};

}  // namespace skin
