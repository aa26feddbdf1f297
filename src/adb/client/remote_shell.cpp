#include "adb/client/remote_shell.h"

#include <algorithm>

#include "adb/client/remote_commands.h"
#include "adb/client/shell_v2_reader.h"

namespace adb::client {

namespace {

void Keep(std::string& kept, std::string_view more) {
    kept.append(more.substr(0, kMaxKeptOutput - std::min(kept.size(), kMaxKeptOutput)));
}

}  // namespace

ShellRun RunRemoteCommand(Transport& transport, std::string_view command, const Deadline& deadline,
                          const ShellOutput& print) {
    const bool shellV2 = transport.Banner().Has("shell_v2");
    ShellRun run;
    run.link = transport.Open(ShellService(command, shellV2));
    if (!run.link) return run;
    ShellV2Reader reader;
    Bytes data;
    for (;;) {
        run.link = transport.Read(data, deadline);
        if (run.link.kind == LinkStatus::kStreamEnded) {
            run.finished = true;
            run.link = {};
            break;
        }
        if (!run.link) break;
        if (shellV2) {
            const ShellV2Reader::Output output = reader.Feed(data);
            print(output.out, output.err);
            Keep(run.output, output.out);
        } else {
            print(AsText(data), {});
            Keep(run.output, AsText(data));
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

std::string ReadAnswerLine(Transport& transport, const Deadline& deadline, LinkStatus& status) {
    std::string text;
    status = {};
    while (text.find('\n') == std::string::npos && text.size() <= kMaxAnswerLine) {
        Bytes data;
        status = transport.Read(data, deadline);
        if (!status) break;
        text += AsText(data);
    }
    // A box that closes the stream may leave out the last line end; any other end is no answer.
    if (!status && status.kind != LinkStatus::kStreamEnded) return {};
    text = text.substr(0, text.find('\n'));
    if (text.size() > kMaxAnswerLine) {
        status = {LinkStatus::kTooMuchData};
        return {};
    }
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

}  // namespace adb::client
