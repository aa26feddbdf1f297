#pragma once
// Runs ADB client command lines as hidden child processes in the client's folder and captures
// everything they print. Used only on the command engine's thread.
#include <string>

namespace adb {

// Set once at start-up, before the engine exists ("-adblog"); read without locking afterwards.
extern bool CommandLogEnabled;

// The client every "$adb$" stands for; its folder becomes the children's current directory.
void SetAdbPath(const std::wstring& path);
const std::wstring& AdbPath();

// Runs one command line as given (cut at 4095 characters). With capture, appends the child's
// merged stdout and stderr to out, reading until the pipe closes. False when the pipe or the
// process could not be created.
bool RunCommandLine(const std::wstring& commandLine, std::string& out, bool capture);

// Substitutes "$adb$", runs the command with capture and converts the output from the ANSI code
// page; out is empty when the child could not start or printed nothing. Logs when enabled.
void DoCommand(const std::wstring& command, std::wstring& out);

// Runs each "\r\n"-terminated line through DoCommand and appends the outputs in order.
void RunScript(const std::wstring& script, std::wstring& out);

// Appends one record, preceded by "\r\n time:<ms>\r\n", to the log beside the program.
void WriteCommandLog(const std::wstring& text);

}  // namespace adb
