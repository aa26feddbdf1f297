#pragma once
// The boxes connected before, which 'devices' lists: one serial ("host:port") a line, in the order
// they were first connected. The client has no server to remember them, so they live in a file.
#include <string>
#include <string_view>
#include <vector>

namespace adb::client {

class KnownDevices {
public:
    // Reads the file's text; blank lines and surrounding blanks are ignored, repeats kept once.
    static KnownDevices FromText(std::string_view text);
    std::string Text() const;

    bool Contains(std::string_view serial) const;
    // True when the serial was not listed yet.
    bool Add(std::string_view serial);
    // True when the serial was listed.
    bool Remove(std::string_view serial);
    void Clear() { serials_.clear(); }

    const std::vector<std::string>& Serials() const { return serials_; }

private:
    std::vector<std::string> serials_;
};

}  // namespace adb::client
