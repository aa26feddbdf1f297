#include "adb/client/remote_commands.h"

namespace adb::client {

std::string ShellQuote(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ShellService(std::string_view command, bool shellV2) {
    return (shellV2 ? "shell,v2,raw:" : "shell:") + std::string(command);
}

std::string StreamedInstallService(uint64_t size, bool replace) {
    return std::string("exec:cmd package install") + (replace ? " -r" : "") + " -S " + std::to_string(size);
}

std::string PushInstallTarget(std::string_view localPath) {
    const size_t slash = localPath.find_last_of("\\/");
    return "/data/local/tmp/" + std::string(slash == std::string_view::npos ? localPath : localPath.substr(slash + 1));
}

std::string PmInstallCommand(std::string_view remotePath, bool replace) {
    return std::string("pm install ") + (replace ? "-r " : "") + ShellQuote(remotePath);
}

std::string RemoveFileCommand(std::string_view remotePath) { return "rm -f " + ShellQuote(remotePath); }

std::string UninstallCommand(std::string_view package, bool hasCmd) {
    return (hasCmd ? "cmd package uninstall " : "pm uninstall ") + ShellQuote(package);
}

}  // namespace adb::client
