#pragma once
// The client's output. Text goes to a console as UTF-16 (so that any name shows), and to pipes and
// files as UTF-8 bytes, as Google's client writes it; nothing is buffered, so stdout and stderr
// keep their order in a merged capture.
#include <string_view>

namespace adb::client {

void Print(std::string_view utf8);
void PrintError(std::string_view utf8);
// A remote command's standard output and error, each where it belongs.
void PrintOutput(std::string_view out, std::string_view err);

// Prints a failure on stderr; returns the exit code that goes with it.
int Fail(std::string_view utf8);

}  // namespace adb::client
