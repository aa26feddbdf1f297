#include "adb/child_limits.h"

#include <algorithm>
#include <limits>

namespace adb {

namespace {

// How long bytes take over the slowest link, plus the given wait, as a quiet limit.
ChildLimits QuietLimits(uint32_t waitMs, uint64_t bytes) {
    const uint64_t transferMs = bytes / kSlowestUploadBytesPerSecond * 1000 +
                                bytes % kSlowestUploadBytesPerSecond * 1000 / kSlowestUploadBytesPerSecond;
    const uint64_t quietMs = std::min<uint64_t>(waitMs + transferMs, std::numeric_limits<uint32_t>::max());
    return {static_cast<uint32_t>(quietMs), 0, kMaxCapturedOutput};
}

}  // namespace

ChildLimits CommandLimits() { return {0, kCommandLimitMs, kMaxCapturedOutput}; }

ChildLimits ListingLimits() { return {0, kCommandLimitMs, kMaxListingOutput}; }

ChildLimits InstallLimits(uint64_t apkBytes) { return QuietLimits(kInstallQuietMs, apkBytes); }

ChildLimits PullLimits(uint64_t bytes) { return QuietLimits(kCommandLimitMs + kTransferStepMs, bytes); }

}  // namespace adb
