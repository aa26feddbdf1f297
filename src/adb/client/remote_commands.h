#pragma once
// The services and shell command lines the client asks a box for.
#include <cstdint>
#include <string>
#include <string_view>

namespace adb::client {

// sh's single quotes around text, with its own single quotes written as '\''.
std::string ShellQuote(std::string_view text);

// "shell,v2,raw:" on boxes that frame their output (exit status included), else "shell:".
std::string ShellService(std::string_view command, bool shellV2);

// Android 7 and later: the APK's bytes follow on the stream.
std::string StreamedInstallService(uint64_t size, bool replace);

// Where a push install puts the APK: /data/local/tmp/ and the local file's name (after the last
// '\' or '/').
std::string PushInstallTarget(std::string_view localPath);
std::string PmInstallCommand(std::string_view remotePath, bool replace);
std::string RemoveFileCommand(std::string_view remotePath);

// Through the package service where the box has "cmd", else through pm.
std::string UninstallCommand(std::string_view package, bool hasCmd);

}  // namespace adb::client
