// shell, install, uninstall and pull: each opens its own connection to the box named by -s.
#include "adb/client/box_connection.h"
#include "adb/client/client_texts.h"
#include "adb/client/commands.h"
#include "adb/client/console.h"
#include "adb/client/install_command.h"
#include "adb/client/known_devices_file.h"
#include "adb/client/pull_command.h"
#include "adb/client/remote_commands.h"
#include "adb/client/remote_shell.h"
#include "adb/client/text_encoding.h"
#include "adb/client/time_limits.h"

namespace adb::client {

namespace {

// The -s serial, or the one box connected before when there is no -s.
std::optional<Endpoint> ChooseBox(const std::string& serial, std::string& problem) {
    std::string chosen = serial;
    if (chosen.empty()) {
        const KnownDevices known = LoadKnownDevices();
        if (known.Serials().size() != 1) {
            problem = known.Serials().empty() ? texts::NoDevices() : texts::MoreThanOneDevice();
            return std::nullopt;
        }
        chosen = known.Serials().front();
    }
    auto endpoint = ParseEndpoint(chosen);
    if (!endpoint) problem = texts::DeviceNotFound(chosen);
    return endpoint;
}

std::string ReachProblem(const std::string& serial, const ReachResult& reached) {
    switch (reached.stage) {
        case ReachResult::kUnauthorized: return texts::DeviceUnauthorized();
        case ReachResult::kNoHandshake: return texts::DeviceOffline(serial, reached.reason);
        default: return texts::DeviceUnreachable(serial, reached.reason);
    }
}

bool EndsWithApk(const std::string& path) {
    if (path.size() < 4) return false;
    std::string end = path.substr(path.size() - 4);
    for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return end == ".apk";
}

int RunShell(Transport& transport, const std::string& command) {
    const ShellRun run = RunRemoteCommand(transport, command, Deadline::In(kResultLimitMs), PrintOutput);
    if (!run.finished) return Fail(texts::CommandFailed(texts::LinkReason(run.link)));
    return run.exitStatus.value_or(0);
}

int RunUninstall(Transport& transport, const std::string& package) {
    const ShellRun run = RunRemoteCommand(transport, UninstallCommand(package, transport.Banner().Has("cmd")),
                                          Deadline::In(kResultLimitMs), PrintOutput);
    if (!run.finished) return Fail(texts::CommandFailed(texts::LinkReason(run.link)));
    return PackageManagerExitCode(run);
}

}  // namespace

int RunBoxCommand(const ClientCommand& command) {
    std::string problem;
    const auto endpoint = ChooseBox(command.serial, problem);
    if (!endpoint) return Fail(problem);
    const std::string serial = endpoint->Serial();

    // The APK is checked before the box is bothered.
    std::unique_ptr<InputFile> apk;
    if (command.kind == CommandKind::kInstall) {
        if (!EndsWithApk(command.argument)) return Fail(texts::NotAnApk(command.argument));
        uint32_t error = 0;
        apk = std::make_unique<InputFile>(Wide(command.argument), error);
        if (!apk->IsOpen()) return Fail(texts::FailedToStat(command.argument, texts::FileErrorText(error)));
    }

    KeyOnDemand key;
    BoxConnection box;
    const ReachResult reached = box.Reach(*endpoint, &key, true);
    if (reached.stage != ReachResult::kOnline) return Fail(ReachProblem(serial, reached));
    switch (command.kind) {
        case CommandKind::kInstall: return InstallApk(box.transport(), *apk, command.argument, command.replace);
        case CommandKind::kUninstall: return RunUninstall(box.transport(), command.argument);
        case CommandKind::kPull: return PullFiles(box.transport(), command.paths);
        default: return RunShell(box.transport(), command.argument);
    }
}

}  // namespace adb::client
