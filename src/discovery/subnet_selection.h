#pragma once
// Which /24 subnets a scan probes: the IPv4 addresses of the wired and wireless adapters that are
// neither virtual-machine nor Bluetooth adapters, each taken as a member of a /24 network. The two
// most common home networks, 192.168.0 and 192.168.1, are probed first.
#include <string>
#include <vector>

namespace discovery {

struct AdapterInfo {
    unsigned type = 0;                    // IF_TYPE_*: 6 Ethernet, 71 IEEE 802.11
    std::wstring description;
    std::vector<std::wstring> addresses;  // dotted quads, in the adapter's order
};

// The machine's adapters in a stable order; false when they cannot be read.
class IAdapterList {
public:
    virtual ~IAdapterList() = default;
    virtual bool Read(std::vector<AdapterInfo>& adapters) = 0;
};

class SubnetSelection {
public:
    // Empties the list and adds the prefixes of every qualifying adapter address. The two
    // well-known flags are never cleared: once seen, such a prefix is scanned by every later scan.
    void CollectSubnets(IAdapterList& adapters);
    void AddSubnetFromAddress(const std::wstring& address);

    // "192.168.0" and "192.168.1" when seen, then the other prefixes in the order first met.
    std::vector<std::wstring> ScanOrder() const;

    bool scan192_168_0 = false;
    bool scan192_168_1 = false;
    std::vector<std::wstring> subnetList;
};

// Host numbers in the order a subnet is probed: 100-199, then 1-99, then 200-255.
std::vector<int> HostOrder();

}  // namespace discovery
