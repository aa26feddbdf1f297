#pragma once
// The file transfer requests spoken over a "sync:" stream: a 4-letter id, a little-endian length,
// then (for most) that many bytes. A push is SEND "<path>,<mode>", DATA chunks, DONE <mtime>;
// the box answers OKAY, or FAIL with a message. A pull is STAT <path> (answered by the file's
// mode, size and time) and RECV <path>, answered by DATA chunks and DONE, or FAIL.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "adb/client/bytes.h"

namespace adb::client {

constexpr size_t kSyncHeaderSize = 8;
// The box refuses larger DATA chunks.
constexpr size_t kSyncDataMax = 64 * 1024;
// Mode of a pushed file: a regular file, readable by everyone (the package manager runs as
// another user).
constexpr uint32_t kPushedFileMode = 0100644;

void AppendSyncSend(Bytes& out, std::string_view remotePath, uint32_t mode);
// The header of a DATA chunk; its size bytes follow.
void AppendSyncDataHeader(Bytes& out, size_t size);
void AppendSyncDone(Bytes& out, uint32_t modifiedTime);
void AppendSyncQuit(Bytes& out);
void AppendSyncStat(Bytes& out, std::string_view remotePath);
void AppendSyncRecv(Bytes& out, std::string_view remotePath);

// The answer to STAT: all zero when the box has no such file.
struct SyncStat {
    uint32_t mode = 0;
    uint32_t size = 0;   // the low 32 bits: the old STAT has no more
    uint32_t modifiedTime = 0;

    bool Exists() const { return mode != 0; }
    bool IsRegularFile() const { return (mode & 0170000) == 0100000; }
};
constexpr size_t kSyncStatSize = 16;
// Nothing while fewer than kSyncStatSize bytes have come; an answer that is no STAT is nothing too,
// with bad set.
std::optional<SyncStat> ParseSyncStat(std::span<const uint8_t> received, bool& bad);

// Reads the box's answer to RECV as it arrives, in pieces of any size: the file's bytes, then its
// end, or the box's failure.
class SyncReceiver {
public:
    enum class State { kReceiving, kDone, kFailed };

    // Hands each run of the file's bytes to data, in order, and returns the state after these bytes.
    // Bytes after the end are left unread.
    State Feed(std::span<const uint8_t> bytes, const std::function<void(std::span<const uint8_t>)>& data);
    State GetState() const { return state_; }
    // The box's FAIL message, or what was wrong with its answer.
    const std::string& Failure() const { return failure_; }

private:
    void Fail(std::string why);

    State state_ = State::kReceiving;
    Bytes header_;              // the header being read
    uint32_t dataLeft_ = 0;     // bytes of the current DATA chunk still to come
    bool readingFailure_ = false;
    uint32_t failureLength_ = 0;
    std::string failure_;
};

struct SyncReply {
    bool okay = false;
    std::string failure;  // the box's message when it answered FAIL
};

// Reads the box's answer to DONE from the bytes received so far: nothing while it is incomplete,
// else the reply and the number of bytes it took. An answer that is neither OKAY nor FAIL is
// reported as a failure naming it.
std::optional<std::pair<SyncReply, size_t>> ParseSyncReply(std::span<const uint8_t> received);

}  // namespace adb::client
