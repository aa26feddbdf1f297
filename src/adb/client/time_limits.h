#pragma once
// How long the client waits for a box. Every wait has a limit, so a box that stops answering never
// holds the client (and the program's command queue behind it) for longer than these.
#include <cstdint>

namespace adb::client {

// Reaching the box: the TCP connection to its port.
constexpr uint32_t kConnectLimitMs = 10'000;
// Each answer of the box during the handshake; as long as Google's client waits for it.
constexpr uint32_t kHandshakeLimitMs = 10'000;
// The box's user allowing this computer's key on the screen.
constexpr uint32_t kUserLimitMs = 30'000;
// Each step of a transfer: a service opened, a write acknowledged. Generous for slow Wi-Fi, where
// one megabyte may take seconds.
constexpr uint32_t kTransferLimitMs = 30'000;
// The whole result of a command: all of a shell command's output, the package manager's verdict
// (awaited once an APK is uploaded). Counted once, from the moment the result is awaited: a box
// that sends a byte now and then cannot stretch it. Old boxes take minutes to optimise a large
// APK before they answer.
constexpr uint32_t kResultLimitMs = 300'000;

}  // namespace adb::client
