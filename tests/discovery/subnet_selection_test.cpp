#include "discovery/subnet_selection.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using discovery::AdapterInfo;
using discovery::SubnetSelection;

constexpr unsigned kEthernet = 6, kWireless = 71, kLoopback = 24, kTunnel = 131, kPpp = 23;

class MadeUpAdapters : public discovery::IAdapterList {
public:
    explicit MadeUpAdapters(std::vector<AdapterInfo> adapters, bool readable = true)
        : adapters_(std::move(adapters)), readable_(readable) {}
    bool Read(std::vector<AdapterInfo>& adapters) override {
        if (readable_) adapters = adapters_;
        return readable_;
    }

private:
    std::vector<AdapterInfo> adapters_;
    bool readable_;
};

std::vector<std::wstring> Order(std::vector<AdapterInfo> adapters) {
    SubnetSelection selection;
    MadeUpAdapters list(std::move(adapters));
    selection.CollectSubnets(list);
    return selection.ScanOrder();
}

using Prefixes = std::vector<std::wstring>;

TEST(SubnetSelection, HomeNetworksComeFirstWhateverTheAdapterOrder) {
    EXPECT_EQ(Order({{kEthernet, L"Realtek PCIe GbE", {L"10.1.2.3"}}, {kWireless, L"Intel Wi-Fi", {L"192.168.0.5"}}}),
              (Prefixes{L"192.168.0", L"10.1.2"}));
    EXPECT_EQ(Order({{kEthernet, L"eth", {L"192.168.1.20"}}}), (Prefixes{L"192.168.1"}));
    EXPECT_EQ(Order({{kEthernet, L"a", {L"172.16.9.9", L"192.168.1.4"}}, {kEthernet, L"b", {L"192.168.0.2", L"10.0.0.1"}}}),
              (Prefixes{L"192.168.0", L"192.168.1", L"172.16.9", L"10.0.0"}));
}

TEST(SubnetSelection, EveryAddressCountsOnceInTheOrderMet) {
    EXPECT_EQ(Order({{kEthernet, L"two nets", {L"10.0.12.7", L"10.0.13.7"}}}), (Prefixes{L"10.0.12", L"10.0.13"}));
    EXPECT_EQ(Order({{kEthernet, L"a", {L"10.0.12.7"}}, {kWireless, L"b", {L"10.0.12.99"}}}), (Prefixes{L"10.0.12"}));
}

TEST(SubnetSelection, OnlyRealWiredAndWirelessAdaptersCount) {
    EXPECT_EQ(Order({{kWireless, L"Microsoft Bluetooth PAN", {L"10.9.9.9"}},
                     {kEthernet, L"VMware Virtual Ethernet Adapter for VMnet8", {L"192.168.0.1"}},
                     {kEthernet, L"VirtualBox Host-Only Ethernet Adapter", {L"10.5.5.1"}},
                     {kLoopback, L"Loopback", {L"127.0.0.1"}},
                     {kTunnel, L"Teredo", {L"10.6.6.6"}},
                     {kPpp, L"Dial-up", {L"10.7.7.7"}}}),
              (Prefixes{L"10.5.5"}));
    // The filter texts are matched with their letter case.
    EXPECT_EQ(Order({{kWireless, L"bluetooth adapter", {L"10.4.4.4"}}}), (Prefixes{L"10.4.4"}));
}

TEST(SubnetSelection, AddressesWithoutAPrefixAreIgnored) {
    EXPECT_EQ(Order({{kEthernet, L"unplugged", {L"0.0.0.0"}}, {kEthernet, L"odd", {L"10.1", L"", L"10.1.2"}}}),
              Prefixes{});
    EXPECT_EQ(Order({{kEthernet, L"short", {L"1.2.3.4"}}}), (Prefixes{L"1.2.3"}));
}

TEST(SubnetSelection, UnreadableAdaptersEmptyTheListButKeepTheHomeFlags) {
    SubnetSelection selection;
    MadeUpAdapters first({{kEthernet, L"eth", {L"192.168.1.20", L"10.3.3.3"}}});
    selection.CollectSubnets(first);
    MadeUpAdapters broken({}, /*readable=*/false);
    selection.CollectSubnets(broken);
    EXPECT_EQ(selection.ScanOrder(), (Prefixes{L"192.168.1"}));
    MadeUpAdapters moved({{kEthernet, L"eth", {L"10.8.8.8"}}});
    selection.CollectSubnets(moved);
    EXPECT_EQ(selection.ScanOrder(), (Prefixes{L"192.168.1", L"10.8.8"}));
}

TEST(HostOrder, MiddleHundredFirstThenLowThenHighNeverZero) {
    const std::vector<int> hosts = discovery::HostOrder();
    ASSERT_EQ(hosts.size(), 255u);
    EXPECT_EQ(hosts.front(), 100);
    EXPECT_EQ(hosts[99], 199);
    EXPECT_EQ(hosts[100], 1);
    EXPECT_EQ(hosts[198], 99);
    EXPECT_EQ(hosts[199], 200);
    EXPECT_EQ(hosts.back(), 255);
    std::vector<int> sorted = hosts;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 255; ++i) EXPECT_EQ(sorted[i], i + 1);
}

}  // namespace
