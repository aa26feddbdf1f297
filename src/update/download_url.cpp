#include "update/download_url.h"

#include <algorithm>
#include <limits>

namespace update {

bool IsDownloadScheme(int scheme) {
    return scheme == kSchemeFtp || scheme == kSchemeHttp || scheme == kSchemeHttps;
}

int ChooseAddress(const DownloadUrl& main, std::vector<DownloadUrl>& mirrors) {
    if (mirrors.empty()) return main.failed ? kNoAddress : kMainAddress;
    for (size_t i = 0; i < mirrors.size(); ++i) {
        if (!mirrors[i].failed && mirrors[i].firstResponseMs == 0) {
            mirrors[i].firstResponseMs = -1;
            return static_cast<int>(i);
        }
    }
    int fastest = kNoAddress;
    for (size_t i = 0; i < mirrors.size(); ++i) {
        const DownloadUrl& mirror = mirrors[i];
        if (mirror.failed || mirror.firstResponseMs <= 0) continue;
        if (fastest == kNoAddress || mirror.firstResponseMs < mirrors[fastest].firstResponseMs)
            fastest = static_cast<int>(i);
    }
    return fastest;
}

void RecordFirstResponse(DownloadUrl& url, uint32_t elapsedMs) {
    if (url.firstResponseMs != -1) return;
    // 0 would read as "never tried": an answer within the same millisecond counts as one.
    const uint32_t capped = std::min<uint32_t>(elapsedMs, std::numeric_limits<int32_t>::max());
    url.firstResponseMs = std::max<int32_t>(1, static_cast<int32_t>(capped));
}

}  // namespace update
