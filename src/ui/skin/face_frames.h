#pragma once
// Which frame of its skin picture a control draws in which state. Platform-free.
#include <cstdint>

namespace skin {

// Image button faces: normal, hover, pressed, disabled. Pressed shows only while the pointer is
// over the button.
int ButtonFaceFrame(bool disabled, bool hover, bool pressed);

// Header cells: normal, hover, pressed, sorted.
int HeaderCellFrame(bool pressed, bool hover, bool sorted);

// The frame after current in a loop of count frames.
int NextAnimationFrame(int current, int count);

// What a row of the skinned list stands on; user data -16 to -1 are row styles.
enum class RowLook { Normal, Hover, Special, Plain };
RowLook ListRowLook(int32_t userData, bool hover);
inline constexpr int kRowFrameNormal = 0, kRowFrameHover = 1, kRowFrameSpecial = 2;

}  // namespace skin
