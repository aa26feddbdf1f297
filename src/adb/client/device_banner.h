#pragma once
// What a box says about itself in its CNXN: "device::ro.product.name=...;ro.product.model=...;
// features=cmd,shell_v2", sometimes with a serial between the colons and a NUL at the end.
#include <string>
#include <string_view>
#include <vector>

namespace adb::client {

struct DeviceBanner {
    std::string kind;  // "device", "recovery", "sideload", ...: what the box lists as its state
    std::vector<std::string> features;

    bool Has(std::string_view feature) const;
};

DeviceBanner ParseDeviceBanner(std::string_view text);

}  // namespace adb::client
