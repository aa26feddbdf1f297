#pragma once
// One command run on a box through its shell service, its output handed on as it arrives.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "adb/client/deadline.h"
#include "adb/client/transport.h"

namespace adb::client {

// Of a command's standard output, this much is kept for reading its verdict (a package manager's
// answer is a line); everything is still handed on as it arrives.
constexpr size_t kMaxKeptOutput = 1 << 20;

struct ShellRun {
    bool finished = false;           // the box ended the stream: the command ran to its end
    std::optional<int> exitStatus;   // only boxes with shell protocol v2 report it
    std::string output;              // the first kMaxKeptOutput bytes the command wrote to stdout
    LinkStatus link;                 // what went wrong when it did not finish
};

// Receives the command's standard output and standard error as they arrive.
using ShellOutput = std::function<void(std::string_view out, std::string_view err)>;

// Runs command; its whole output must have arrived by the deadline, however the box spreads it.
ShellRun RunRemoteCommand(Transport& transport, std::string_view command, const Deadline& deadline,
                          const ShellOutput& print);

// The exit code for a package manager command: the box's status where it reports one, else
// whether pm said "Success" (old boxes give no status; Google's client then says 0 even for a
// failure, which would hide it).
int PackageManagerExitCode(const ShellRun& run);

// The first line the box writes on the open stream, without its line end, by the deadline: a
// verdict such as "Success" or "Failure [...]". Empty when the wait failed (status says why);
// longer than kMaxAnswerLine, it is no verdict: empty, with kTooMuchData.
constexpr size_t kMaxAnswerLine = 4096;
std::string ReadAnswerLine(Transport& transport, const Deadline& deadline, LinkStatus& status);

}  // namespace adb::client
