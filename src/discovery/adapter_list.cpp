#include "discovery/adapter_list.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <vector>

namespace discovery {

namespace {

std::wstring FromAnsi(const char* text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1) return {};
    std::wstring wide(size - 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
    return wide;
}

}  // namespace

bool CSystemAdapterList::Read(std::vector<AdapterInfo>& adapters) {
    // Small enough for one adapter; the platform tells how much a longer list needs.
    ULONG size = 648;
    std::vector<unsigned char> buffer(size, 0);
    DWORD rc = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    if (rc == ERROR_BUFFER_OVERFLOW) {
        buffer.assign(size, 0);
        rc = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    if (rc != NO_ERROR) return false;

    for (auto* adapter = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); adapter; adapter = adapter->Next) {
        AdapterInfo info;
        info.type = adapter->Type;
        info.description = FromAnsi(adapter->Description);
        for (IP_ADDR_STRING* address = &adapter->IpAddressList; address; address = address->Next)
            info.addresses.push_back(FromAnsi(address->IpAddress.String));
        adapters.push_back(std::move(info));
    }
    return true;
}

}  // namespace discovery
