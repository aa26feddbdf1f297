#include "adb/client/pull_command.h"

#include <windows.h>

#include "adb/client/client_texts.h"
#include "adb/client/console.h"
#include "adb/client/local_file.h"
#include "adb/client/sync_request.h"
#include "adb/client/text_encoding.h"
#include "adb/client/time_limits.h"

namespace adb::client {

namespace {

std::string BaseName(const std::string& remote) {
    const size_t slash = remote.find_last_of('/');
    return slash == std::string::npos ? remote : remote.substr(slash + 1);
}

// The answer to a STAT; nothing (with why) when the stream failed or the answer was no STAT.
std::optional<SyncStat> StatRemote(Transport& transport, const std::string& remote, std::string& problem) {
    Bytes request;
    AppendSyncStat(request, remote);
    LinkStatus status = transport.Write(request);
    Bytes answer;
    const Deadline answered = Deadline::In(kTransferLimitMs);
    while (status) {
        bool bad = false;
        if (auto stat = ParseSyncStat(answer, bad)) return stat;
        if (bad) {
            problem = "the box answered the file's query with something else";
            return std::nullopt;
        }
        Bytes data;
        status = transport.Read(data, answered);
        answer.insert(answer.end(), data.begin(), data.end());
    }
    problem = texts::LinkReason(status);
    return std::nullopt;
}

// Receives one file into local; empty when it is there whole, else the message to print.
std::string ReceiveFile(Transport& transport, const std::string& remote, const std::string& local, uint64_t& bytes) {
    uint32_t error = 0;
    OutputFile file(Wide(local), error);
    if (!file.IsOpen()) return texts::CannotCreate(local, texts::FileErrorText(error));
    Bytes request;
    AppendSyncRecv(request, remote);
    LinkStatus status = transport.Write(request);
    SyncReceiver receiver;
    uint32_t writeError = 0;
    bool written = true;
    Bytes data;
    while (status && receiver.GetState() == SyncReceiver::State::kReceiving && written) {
        // Each piece must come within the step limit; a large file may take as long as it needs.
        status = transport.Read(data, Deadline::In(kTransferLimitMs));
        if (!status) break;
        receiver.Feed(data, [&](std::span<const uint8_t> piece) {
            if (written && !file.Write(piece, writeError)) written = false;
            if (written) bytes += piece.size();
        });
    }
    if (!written) return texts::CannotWrite(local, texts::FileErrorText(writeError));
    if (!status) return texts::FailedToPull(remote, texts::LinkReason(status));
    if (receiver.GetState() == SyncReceiver::State::kFailed)
        return texts::FailedToPull(remote, receiver.Failure());
    if (!file.Finish(writeError)) return texts::CannotWrite(local, texts::FileErrorText(writeError));
    return {};
}

}  // namespace

int PullFiles(Transport& transport, const std::vector<std::string>& paths) {
    const std::vector<std::string> remotes(paths.begin(), paths.end() - 1);
    const std::string& target = paths.back();
    const bool intoFolder = IsFolder(Wide(target));
    if (remotes.size() > 1 && !intoFolder) return Fail(texts::TargetNotAFolder(target));

    if (LinkStatus opened = transport.Open("sync:"); !opened)
        return Fail(texts::FailedToPull(remotes.front(), texts::LinkReason(opened)));
    const uint64_t started = GetTickCount64();
    uint64_t total = 0;
    for (const std::string& remote : remotes) {
        std::string problem;
        const auto stat = StatRemote(transport, remote, problem);
        if (!stat) return Fail(texts::FailedToPull(remote, problem));
        if (!stat->Exists()) return Fail(texts::RemoteObjectMissing(remote));
        if (!stat->IsRegularFile()) return Fail(texts::RemoteObjectNotAFile(remote));
        const std::string local = intoFolder ? target + "\\" + BaseName(remote) : target;
        const uint64_t fileStarted = GetTickCount64();
        uint64_t bytes = 0;
        if (problem = ReceiveFile(transport, remote, local, bytes); !problem.empty()) return Fail(problem);
        total += bytes;
        Print(texts::Pulled(remote, bytes, GetTickCount64() - fileStarted));
    }
    if (remotes.size() > 1) Print(texts::PulledAll(remotes.size(), total, GetTickCount64() - started));
    Bytes quit;
    AppendSyncQuit(quit);
    transport.Write(quit);  // the box closes the stream on QUIT
    transport.Close();
    return 0;
}

}  // namespace adb::client
