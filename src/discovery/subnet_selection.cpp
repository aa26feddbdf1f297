#include "discovery/subnet_selection.h"

#include <algorithm>

namespace discovery {

namespace {

constexpr unsigned kEthernet = 6;
constexpr unsigned kWireless = 71;

bool Qualifies(const AdapterInfo& adapter) {
    if (adapter.type != kEthernet && adapter.type != kWireless) return false;
    return adapter.description.find(L"VMware Virtual Ethernet Adapter") == std::wstring::npos &&
           adapter.description.find(L"Bluetooth") == std::wstring::npos;
}

}  // namespace

void SubnetSelection::CollectSubnets(IAdapterList& adapters) {
    subnetList.clear();
    std::vector<AdapterInfo> list;
    if (!adapters.Read(list)) return;
    for (const AdapterInfo& adapter : list) {
        if (!Qualifies(adapter)) continue;
        for (const std::wstring& address : adapter.addresses) AddSubnetFromAddress(address);
    }
}

void SubnetSelection::AddSubnetFromAddress(const std::wstring& address) {
    if (address == L"0.0.0.0") return;
    size_t dot = address.find(L'.');
    for (int i = 0; i < 2 && dot != std::wstring::npos; ++i) dot = address.find(L'.', dot + 1);
    if (dot == std::wstring::npos || dot <= 1) return;

    const std::wstring prefix = address.substr(0, dot);
    if (prefix == L"192.168.0") {
        scan192_168_0 = true;
    } else if (prefix == L"192.168.1") {
        scan192_168_1 = true;
    } else if (std::find(subnetList.begin(), subnetList.end(), prefix) == subnetList.end()) {
        subnetList.push_back(prefix);
    }
}

std::vector<std::wstring> SubnetSelection::ScanOrder() const {
    std::vector<std::wstring> order;
    if (scan192_168_0) order.push_back(L"192.168.0");
    if (scan192_168_1) order.push_back(L"192.168.1");
    order.insert(order.end(), subnetList.begin(), subnetList.end());
    return order;
}

std::vector<int> HostOrder() {
    std::vector<int> hosts;
    for (int host = 100; host <= 199; ++host) hosts.push_back(host);
    for (int host = 1; host <= 99; ++host) hosts.push_back(host);
    for (int host = 200; host <= 255; ++host) hosts.push_back(host);
    return hosts;
}

}  // namespace discovery
