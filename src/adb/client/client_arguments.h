#pragma once
// The client's command line: the commands the program forms, plus version and help.
//   start-server | kill-server | version | help | devices
//   connect HOST[:PORT] | disconnect [HOST[:PORT]]
//   [-s HOST:PORT] shell COMMAND... | install [-r] APK | uninstall PACKAGE | pull REMOTE... LOCAL
#include <string>
#include <vector>

namespace adb::client {

enum class CommandKind {
    kHelp,
    kVersion,
    kStartServer,
    kKillServer,
    kConnect,
    kDisconnect,
    kDevices,
    kShell,
    kInstall,
    kUninstall,
    kPull,
};

struct ClientCommand {
    CommandKind kind = CommandKind::kHelp;
    std::string serial;    // -s; empty: the one box the client knows
    std::string argument;  // connect and disconnect: the address; shell: the command; install: the
                           // APK's path; uninstall: the package
    bool replace = false;  // install -r
    std::vector<std::string> paths;  // pull: the files on the box, then where they go
};

struct ParsedArguments {
    ClientCommand command;
    std::string error;  // a usage message when the line is not understood
};

// arguments: the command line without the program's name, in UTF-8.
ParsedArguments ParseArguments(const std::vector<std::string>& arguments);

}  // namespace adb::client
