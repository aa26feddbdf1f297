#include "adb/client/client_arguments.h"

#include <cstddef>
#include <utility>

namespace adb::client {

namespace {

struct Verb {
    const char* name;
    CommandKind kind;
    size_t minArguments;
    size_t maxArguments;
    const char* usage;
};

constexpr size_t kAny = static_cast<size_t>(-1);
constexpr Verb kVerbs[] = {
    {"help", CommandKind::kHelp, 0, 0, "adb help"},
    {"version", CommandKind::kVersion, 0, 0, "adb version"},
    {"start-server", CommandKind::kStartServer, 0, 0, "adb start-server"},
    {"kill-server", CommandKind::kKillServer, 0, 0, "adb kill-server"},
    {"devices", CommandKind::kDevices, 0, 0, "adb devices"},
    {"connect", CommandKind::kConnect, 1, 1, "adb connect <host>[:<port>]"},
    {"disconnect", CommandKind::kDisconnect, 0, 1, "adb disconnect [<host>[:<port>]]"},
    {"shell", CommandKind::kShell, 1, kAny, "adb shell <command>"},
    {"install", CommandKind::kInstall, 1, 1, "adb install [-r] <file.apk>"},
    {"uninstall", CommandKind::kUninstall, 1, 1, "adb uninstall <package>"},
    {"pull", CommandKind::kPull, 2, kAny, "adb pull <remote>... <local>"},
};

ParsedArguments Failure(std::string message) { return {{}, "adb: " + std::move(message)}; }

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) {
    ClientCommand command;
    size_t at = 0;
    while (at < arguments.size() && arguments[at] == "-s") {
        if (at + 1 == arguments.size()) return Failure("-s requires an argument");
        command.serial = arguments[at + 1];
        at += 2;
    }
    if (at == arguments.size()) return Failure("no command given; 'adb help' lists the commands");
    const std::string& name = arguments[at++];
    const Verb* verb = nullptr;
    for (const Verb& candidate : kVerbs) {
        if (name == candidate.name) verb = &candidate;
    }
    if (!verb) {
        return Failure(name.starts_with("-") ? "unknown option " + name : "unknown command " + name);
    }
    command.kind = verb->kind;
    std::vector<std::string> rest(arguments.begin() + static_cast<ptrdiff_t>(at), arguments.end());
    if (command.kind == CommandKind::kInstall && !rest.empty() && rest.front() == "-r") {
        command.replace = true;
        rest.erase(rest.begin());
    }
    if (rest.size() < verb->minArguments || rest.size() > verb->maxArguments) {
        return Failure(std::string("usage: ") + verb->usage);
    }
    if (command.kind == CommandKind::kInstall && rest.front().starts_with("-")) {
        return Failure("unknown install option " + rest.front() + " (only -r is understood)");
    }
    if (command.kind == CommandKind::kPull) {
        command.paths = std::move(rest);
        return {command, {}};
    }
    for (size_t i = 0; i < rest.size(); ++i) command.argument += (i ? " " : "") + rest[i];
    return {command, {}};
}

}  // namespace adb::client
