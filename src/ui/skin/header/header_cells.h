#pragma once
// Which frame of the header picture a cell shows: normal, hover, pressed, sorted. Platform-free.
namespace skin {

constexpr int HeaderCellFrame(bool pressed, bool hover, bool sorted) {
    if (pressed) return 2;
    if (hover) return 1;
    return sorted ? 3 : 0;
}

}  // namespace skin
