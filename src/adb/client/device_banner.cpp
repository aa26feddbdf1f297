#include "adb/client/device_banner.h"

#include <algorithm>

namespace adb::client {

namespace {

// Calls take(piece) for every piece of text between separators; empty pieces are skipped.
template <typename Take>
void ForEachPiece(std::string_view text, char separator, Take take) {
    while (!text.empty()) {
        const size_t end = std::min(text.find(separator), text.size());
        if (end) take(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

}  // namespace

bool DeviceBanner::Has(std::string_view feature) const {
    return std::find(features.begin(), features.end(), feature) != features.end();
}

DeviceBanner ParseDeviceBanner(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    DeviceBanner banner;
    const size_t kindEnd = text.find(':');
    banner.kind = std::string(text.substr(0, kindEnd));
    if (kindEnd == std::string_view::npos) return banner;
    const size_t serialEnd = text.find(':', kindEnd + 1);
    if (serialEnd == std::string_view::npos) return banner;
    ForEachPiece(text.substr(serialEnd + 1), ';', [&](std::string_view pair) {
        constexpr std::string_view kFeatures = "features=";
        if (pair.starts_with(kFeatures)) {
            pair.remove_prefix(kFeatures.size());
            ForEachPiece(pair, ',', [&](std::string_view name) { banner.features.emplace_back(name); });
        }
    });
    return banner;
}

}  // namespace adb::client
