#include "adb/client/known_devices.h"

#include <algorithm>

namespace adb::client {

KnownDevices KnownDevices::FromText(std::string_view text) {
    KnownDevices devices;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
            line.remove_suffix(1);
        }
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        if (!line.empty()) devices.Add(line);
    }
    return devices;
}

std::string KnownDevices::Text() const {
    std::string text;
    for (const std::string& serial : serials_) text += serial + "\n";
    return text;
}

bool KnownDevices::Contains(std::string_view serial) const {
    return std::find(serials_.begin(), serials_.end(), serial) != serials_.end();
}

bool KnownDevices::Add(std::string_view serial) {
    if (Contains(serial)) return false;
    serials_.emplace_back(serial);
    return true;
}

bool KnownDevices::Remove(std::string_view serial) {
    const auto found = std::find(serials_.begin(), serials_.end(), serial);
    if (found == serials_.end()) return false;
    serials_.erase(found);
    return true;
}

}  // namespace adb::client
