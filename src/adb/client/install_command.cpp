#include "adb/client/install_command.h"

#include <windows.h>

#include <algorithm>

#include "adb/client/client_texts.h"
#include "adb/client/console.h"
#include "adb/client/remote_commands.h"
#include "adb/client/remote_shell.h"
#include "adb/client/sync_request.h"
#include "adb/client/time_limits.h"
#include "adb/progress_lines.h"

namespace adb::client {

namespace {

// Bytes handed to the transport at a time; it cuts them into messages of the box's size.
constexpr size_t kBatch = 1 << 20;

std::string ReadFailure(uint32_t error) { return "cannot read the file: " + texts::FileErrorText(error); }

// Tells how far the upload has come, when whoever started the client asked for it: once at its
// start, then each time another percent has gone.
class UploadProgress {
public:
    explicit UploadProgress(uint64_t total)
        : total_(total), wanted_(GetEnvironmentVariableW(kProgressVariable, nullptr, 0) > 0) {
        if (wanted_) Print(texts::UploadProgress(0, total_));
    }

    void Sent(uint64_t sent) {
        const uint64_t percent = total_ ? sent / (total_ / 100 + 1) : 100;
        if (!wanted_ || (percent == told_ && sent != total_)) return;
        told_ = percent;
        Print(texts::UploadProgress(sent, total_));
    }

private:
    uint64_t total_;
    bool wanted_;
    uint64_t told_ = 0;
};

int StreamedInstall(Transport& transport, InputFile& apk, const std::string& path, bool replace) {
    Print(texts::PerformingStreamedInstall());
    const uint64_t size = apk.Size();
    LinkStatus status = transport.Open(StreamedInstallService(size, replace));
    if (!status) return Fail(texts::FailedToInstall(path, texts::LinkReason(status)));
    UploadProgress progress(size);
    uint64_t sent = 0;
    Bytes chunk;
    while (status && sent < size) {
        chunk.clear();
        uint32_t error = 0;
        if (!apk.ReadInto(chunk, static_cast<size_t>(std::min<uint64_t>(kBatch, size - sent)), error)) {
            transport.Close();
            return Fail(texts::FailedToInstall(path, ReadFailure(error)));
        }
        if (chunk.empty()) break;
        status = transport.Write(chunk);
        sent += chunk.size();
        if (status) progress.Sent(sent);
    }
    // A box that gives up early closes the stream, and may have said why first.
    if (!status && status.kind != LinkStatus::kStreamEnded) {
        return Fail(texts::FailedToInstall(path, texts::LinkReason(status)));
    }
    if (status && sent < size) {
        transport.Close();
        return Fail(texts::FailedToInstall(path, "the file became shorter while it was sent"));
    }
    // Counted from the end of the upload, however the box spreads its answer.
    const std::string verdict = ReadAnswerLine(transport, Deadline::In(kResultLimitMs), status);
    transport.Close();
    if (verdict.starts_with("Success")) {
        Print(verdict + "\n");
        return 0;
    }
    return Fail(texts::FailedToInstall(path, verdict.empty() ? texts::LinkReason(status) : verdict));
}

// Sends the file over a sync stream; empty when the box has it, else why not.
std::string PushFile(Transport& transport, InputFile& file, const std::string& remote) {
    LinkStatus status = transport.Open("sync:");
    if (!status) return texts::LinkReason(status);
    UploadProgress progress(file.Size());
    uint64_t sent = 0;
    Bytes batch;
    AppendSyncSend(batch, remote, kPushedFileMode);
    Bytes chunk;
    for (bool more = true; more && status;) {
        chunk.clear();
        uint32_t error = 0;
        if (!file.ReadInto(chunk, kSyncDataMax, error)) {
            transport.Close();
            return ReadFailure(error);
        }
        more = !chunk.empty();
        if (more) {
            AppendSyncDataHeader(batch, chunk.size());
            batch.insert(batch.end(), chunk.begin(), chunk.end());
            sent += chunk.size();
        } else {
            AppendSyncDone(batch, file.ModifiedUnixTime());
        }
        if (batch.size() >= kBatch || !more) {
            status = transport.Write(batch);
            batch.clear();
            if (status) progress.Sent(sent);
        }
    }
    // A box that refuses the file answers FAIL and closes the stream, maybe before all was sent.
    if (!status && status.kind != LinkStatus::kStreamEnded) return texts::LinkReason(status);
    Bytes answer;
    const Deadline answered = Deadline::In(kResultLimitMs);
    for (;;) {
        if (const auto reply = ParseSyncReply(answer)) {
            if (!reply->first.okay) return "remote " + reply->first.failure;
            break;
        }
        Bytes data;
        if (status = transport.Read(data, answered); !status) return texts::LinkReason(status);
        answer.insert(answer.end(), data.begin(), data.end());
    }
    Bytes quit;
    AppendSyncQuit(quit);
    transport.Write(quit);  // the box closes the stream on QUIT, perhaps before acknowledging it
    transport.Close();
    return {};
}

int PushInstall(Transport& transport, InputFile& apk, const std::string& path, bool replace) {
    Print(texts::PerformingPushInstall());
    const std::string remote = PushInstallTarget(path);
    const uint64_t started = GetTickCount64();
    if (const std::string problem = PushFile(transport, apk, remote); !problem.empty()) {
        return Fail(texts::FailedToCopy(path, remote, problem));
    }
    Print(texts::Pushed(path, apk.Size(), GetTickCount64() - started));
    const ShellRun install =
        RunRemoteCommand(transport, PmInstallCommand(remote, replace), Deadline::In(kResultLimitMs), PrintOutput);
    if (!install.finished) return Fail(texts::CommandFailed(texts::LinkReason(install.link)));
    RunRemoteCommand(transport, RemoveFileCommand(remote), Deadline::In(kResultLimitMs), PrintOutput);
    return PackageManagerExitCode(install);
}

}  // namespace

int InstallApk(Transport& transport, InputFile& apk, const std::string& path, bool replace) {
    return transport.Banner().Has("cmd") ? StreamedInstall(transport, apk, path, replace)
                                         : PushInstall(transport, apk, path, replace);
}

}  // namespace adb::client
