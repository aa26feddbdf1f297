#include "adb/client/remote_shell.h"

#include "adb/client/console.h"
#include "adb/client/remote_commands.h"
#include "adb/client/shell_v2_reader.h"
#include "adb/client/time_limits.h"

namespace adb::client {

ShellRun RunRemoteCommand(Transport& transport, std::string_view command) {
    const bool shellV2 = transport.Banner().Has("shell_v2");
    ShellRun run;
    run.link = transport.Open(ShellService(command, shellV2));
    if (!run.link) return run;
    ShellV2Reader reader;
    for (;;) {
        Bytes data;
        run.link = transport.Read(data, kResultLimitMs);
        if (run.link.kind == LinkStatus::kStreamEnded) {
            run.finished = true;
            run.link = {};
            break;
        }
        if (!run.link) break;
        if (shellV2) {
            const ShellV2Reader::Output output = reader.Feed(data);
            Print(output.out);
            PrintError(output.err);
            run.output += output.out;
        } else {
            Print(AsText(data));
            run.output += AsText(data);
        }
    }
    run.exitStatus = reader.ExitStatus();
    transport.Close();
    return run;
}

int PackageManagerExitCode(const ShellRun& run) {
    if (run.exitStatus) return *run.exitStatus;
    return run.output.find("Success") != std::string::npos ? 0 : 1;
}

}  // namespace adb::client
