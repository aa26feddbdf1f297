#pragma once
// The decisions of the daily update check and of the upgrade that need no platform: when a check
// is due, where the descriptor is asked for, whether it offers an upgrade, how far the progress
// bar stands, and where the running program's backup goes.
#include <cstdint>
#include <optional>
#include <string>

namespace update {

// At most one check a day. stored: the time of the last check (the low 32 bits of seconds since
// 1970), none when it was never stored. A check is due more than 86,400 seconds after the last
// one, and whenever the clock stands before it (it went back).
bool IsCheckDue(int64_t now, std::optional<uint32_t> stored);

// The descriptor's address on the update server (its scheme and host, without a closing slash)
// for the running version; empty when it would be longer than an address may be.
std::wstring DescriptorAddress(const std::wstring& server, const std::wstring& localVersion);

// What the update server's descriptor says.
struct UpdateDescriptor {
    std::wstring version;  // the newest version
    std::wstring url;      // where its program file is (or a metalink descriptor of it)
    std::wstring sha256;   // the program file's SHA-256, in hex
    std::wstring sig;      // base64 signature of the release key over that SHA-256
};

// An upgrade is offered when the descriptor says where to get a version newer than the local one.
bool OffersUpgrade(const UpdateDescriptor& descriptor, const std::wstring& localVersion);

// The progress bar's position for a download of total bytes with downloaded of them here: the
// whole percent when both are known and not zero, 0 while either is not; none (the bar stays)
// when the figures make no percent from 0 to 100.
std::optional<int> ProgressPercent(int64_t total, int64_t downloaded);

// The program's path with its extension (or, without one, its end) made ".bak".
std::wstring BackupPath(const std::wstring& programPath);

}  // namespace update
