#pragma once
// The command log beside the program ("-adblog"): a record of each client command and what it
// printed, for a person reading it after a problem. UTF-8, so that names in any script stay
// readable; when it reaches kMaxCommandLogBytes it becomes the one older log (its name with ".1"
// added, replacing the one before) and a new log begins, so it never fills the disk.
#include <cstdint>
#include <string>

namespace adb {

// Room for thousands of commands with their outputs, the last of a long session and the one before.
constexpr uint64_t kMaxCommandLogBytes = 4 << 20;

// Appends one record, preceded by "\r\n time:<ms>\r\n", to the log beside the program.
void WriteCommandLog(const std::wstring& text);

}  // namespace adb
