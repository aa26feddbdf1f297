#pragma once
// Runs ADB client command texts as hidden child processes in the client's folder and reads what
// they print. Used only on the command engine's thread.
#include <cstdint>
#include <string>

#include "adb/child_limits.h"
#include "adb/child_process.h"

namespace adb {

// Set once at start-up, before the engine exists ("-adblog"); read without locking afterwards.
extern bool CommandLogEnabled;

// The client every "$adb$" stands for; its folder becomes the children's current directory.
void SetAdbPath(const std::wstring& path);
const std::wstring& AdbPath();
// Whether that client is the one the program carries (carried_client.h).
bool CarriedClient();

struct CommandOutcome {
    ChildEnd end = ChildEnd::NotStarted;
    uint32_t exitCode = 0;  // the client's, once it has ended
};

// Runs the command text ("$adb$" first) within limits; out receives what the client printed,
// decoded from UTF-8, as both Google's client and ours write it: empty when the client could not
// start or printed nothing. The watch follows the output as it comes and may end the client
// early. Logs when enabled.
CommandOutcome DoCommand(const std::wstring& command, std::wstring& out, const ChildLimits& limits,
                         const ChildWatch& watch = {});

// Runs each "\r\n"-terminated line through DoCommand and appends the outputs in order.
void RunScript(const std::wstring& script, std::wstring& out, const ChildLimits& limits);

// Starts the command text with its output discarded, without waiting for it.
bool StartCommand(const std::wstring& command);

}  // namespace adb
