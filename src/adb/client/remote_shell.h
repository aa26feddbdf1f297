#pragma once
// One command run on a box through its shell service, its output printed as it arrives.
#include <optional>
#include <string>

#include "adb/client/transport.h"

namespace adb::client {

struct ShellRun {
    bool finished = false;           // the box ended the stream: the command ran to its end
    std::optional<int> exitStatus;   // only boxes with shell protocol v2 report it
    std::string output;              // what the command wrote to stdout
    LinkStatus link;                 // what went wrong when it did not finish
};

ShellRun RunRemoteCommand(Transport& transport, std::string_view command);

// The exit code for a package manager command: the box's status where it reports one, else
// whether pm said "Success" (old boxes give no status; Google's client then says 0 even for a
// failure, which would hide it).
int PackageManagerExitCode(const ShellRun& run);

}  // namespace adb::client
