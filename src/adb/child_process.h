#pragma once
// Starts the ADB client as a hidden child process and reads what it prints. A child gets only what
// it needs: its output pipe and a null input, never the program's other handles (a probe socket
// inherited by a child stays open until that child ends). Every child belongs to one job of the
// program, which ends it when the program ends, so no client outlives the program.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "adb/child_limits.h"
#include "adb/command_text.h"

namespace adb {

struct ChildRun {
    ChildEnd end = ChildEnd::NotStarted;
    // The child's exit code once it has ended; kEndedChildExitCode when the program ended it.
    uint32_t exitCode = 0;
    std::string output;  // its standard output and standard error, merged, as bytes
};

// The exit code of a child that the program had to end.
constexpr uint32_t kEndedChildExitCode = 0xC000013A;

// What the caller follows of a running child, and how it ends the child early.
struct ChildWatch {
    // Each piece of output as it arrives.
    std::function<void(std::string_view)> output;
    // An event that is set whenever the child may have to be ended; then cancelled() decides
    // (the event is reset before it is asked, so that no later setting is missed).
    HANDLE cancelEvent = nullptr;
    std::function<bool()> cancelled;
};

// Runs the child in folder and reads its output until it closes, or until a limit or the watch
// ends the child (then what it printed so far is kept, up to limits.maxOutputBytes).
ChildRun RunChild(const ClientLaunch& launch, const std::wstring& folder, const ChildLimits& limits,
                  const ChildWatch& watch = {});

// Starts the child in folder with its output discarded, and does not wait for it.
bool StartChild(const ClientLaunch& launch, const std::wstring& folder);

}  // namespace adb
