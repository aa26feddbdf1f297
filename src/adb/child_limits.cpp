#include "adb/child_limits.h"

#include <algorithm>
#include <limits>

namespace adb {

ChildLimits CommandLimits() { return {0, kCommandLimitMs, kMaxCapturedOutput}; }

ChildLimits InstallLimits(uint64_t apkBytes) {
    const uint64_t uploadMs = apkBytes / kSlowestUploadBytesPerSecond * 1000 +
                              apkBytes % kSlowestUploadBytesPerSecond * 1000 / kSlowestUploadBytesPerSecond;
    const uint64_t quietMs = std::min<uint64_t>(kInstallQuietMs + uploadMs, std::numeric_limits<uint32_t>::max());
    return {static_cast<uint32_t>(quietMs), 0, kMaxCapturedOutput};
}

}  // namespace adb
