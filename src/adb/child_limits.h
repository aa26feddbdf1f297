#pragma once
// How long the program lets one client command run and how much of its output it keeps. A box
// decides what the client hears, and the client's output is all the program waits on, so without
// these a box that stalls or talks without end would hold the engine's one queue for good.
#include <cstddef>
#include <cstdint>

namespace adb {

struct ChildLimits {
    uint32_t quietMs = 0;      // no output for this long ends the child; 0: no such limit
    uint32_t totalMs = 0;      // running this long ends it, printing or not; 0: no such limit
    size_t maxOutputBytes = 0; // more output than this ends it; 0: no such limit
};

// How a child's run ended.
enum class ChildEnd {
    NotStarted,
    Exited,          // on its own
    Silent,          // quiet for longer than its limit
    Overran,         // ran for longer than its limit
    TooMuchOutput,   // printed more than is kept
    Cancelled,       // the program was asked to end it
};

// Every output the program reads is a few lines; the longest, a box's package listing, holds a few
// hundred kilobytes. More than a megabyte is no answer but a box streaming without end.
constexpr size_t kMaxCapturedOutput = 1 << 20;
// Except the listing of a box's apps with the package manager's dump of each: a few kilobytes
// an app, on a box with hundreds of them.
constexpr size_t kMaxListingOutput = 16 << 20;

// A command other than an install (connect, model query, listings) ends within this time. The
// longest wait of the carried client before it answers is a connect that puts this computer's key
// to the box's user: 10 s to reach the box, 2 x 10 s for its handshake answers, 30 s for its user,
// 60 s in all; the rest is room for a slow, loaded machine. A box that trickles its answer a byte
// at a time cannot hold the queue for longer.
constexpr uint32_t kCommandLimitMs = 90'000;

// An install may be silent while its APK goes over the link and while the box checks and
// optimises it: the carried client waits 300 s for that verdict once the upload is done, and
// prints nothing meanwhile. Only a client that has given up waiting stays silent longer.
constexpr uint32_t kInstallQuietMs = 330'000;
// The upload itself: the slowest link an install is expected to work over, 1 Mbit/s (a box at
// the far end of a weak Wi-Fi), gives the time an APK of a given size may take on top.
constexpr uint32_t kSlowestUploadBytesPerSecond = 128 * 1024;

// After the client has exited, what is still in the pipe is read for this long at most: a process
// it started (Google's client starts its server) may hold the pipe open and never write.
constexpr uint32_t kExitGraceMs = 1'000;

// The carried client's wait for each step of a transfer; a pull prints nothing until it ends.
constexpr uint32_t kTransferStepMs = 30'000;

// Limits of a command that is not an install.
ChildLimits CommandLimits();
// Limits of listing a box's apps.
ChildLimits ListingLimits();
// Limits of installing an APK of apkBytes bytes.
ChildLimits InstallLimits(uint64_t apkBytes);
// Limits of pulling files of that many bytes in all: the client says nothing until they are
// here, over the slowest link as for an install.
ChildLimits PullLimits(uint64_t bytes);

}  // namespace adb
