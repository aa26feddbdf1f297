#pragma once
// Which frame of its face picture an image button shows: normal, hover, pressed, disabled. Pressed
// shows only while the pointer is over the button. Platform-free.
namespace skin {

constexpr int ButtonFaceFrame(bool disabled, bool hover, bool pressed) {
    if (disabled) return 3;
    if (hover) return pressed ? 2 : 1;
    return 0;
}

}  // namespace skin
