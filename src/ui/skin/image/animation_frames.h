#pragma once
// The step of an animation: the frame after current in a loop of count frames. Platform-free.
namespace skin {

constexpr int NextAnimationFrame(int current, int count) {
    const int next = current + 1;
    return next >= count ? 0 : next;
}

}  // namespace skin
