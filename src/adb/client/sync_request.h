#pragma once
// The file transfer requests spoken over a "sync:" stream: a 4-letter id, a little-endian length,
// then (for most) that many bytes. A push is SEND "<path>,<mode>", DATA chunks, DONE <mtime>;
// the box answers OKAY, or FAIL with a message.
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

struct SyncReply {
    bool okay = false;
    std::string failure;  // the box's message when it answered FAIL
};

// Reads the box's answer to DONE from the bytes received so far: nothing while it is incomplete,
// else the reply and the number of bytes it took. An answer that is neither OKAY nor FAIL is
// reported as a failure naming it.
std::optional<std::pair<SyncReply, size_t>> ParseSyncReply(std::span<const uint8_t> received);

}  // namespace adb::client
