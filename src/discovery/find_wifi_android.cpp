#include "discovery/find_wifi_android.h"

#include <string>

#include "base/box_address.h"
#include "discovery/adapter_list.h"

namespace discovery {

namespace {

constexpr int kDiscoveryNotStarted = 444;
constexpr UINT_PTR kProbeTimer = 1;
constexpr UINT kProbeTimerPeriodMs = 250;
constexpr u_short kBoxPort = 5555;

// The command engine's children must not inherit probes: each would keep every connection of the
// sweep open until it exits.
SOCKET OpenProbeSocket() {
    SOCKET probe = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0,
                              WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (probe == INVALID_SOCKET && WSAGetLastError() == WSAEINVAL) {
        // Windows 7 before its first service pack does not know the flag.
        probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (probe != INVALID_SOCKET) SetHandleInformation(reinterpret_cast<HANDLE>(probe), HANDLE_FLAG_INHERIT, 0);
    }
    return probe;
}

}  // namespace

CFindWifiAndroid* CFindWifiAndroid::Instance() { return SingleInstance(kDiscoveryNotStarted); }

void CFindWifiAndroid::StartScan(HWND window) {
    notifyWindow_ = window;
    PostToWorker(WM_SCAN_START);
}

bool CFindWifiAndroid::OnThreadInit() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        MessageBoxW(Handle(), L"WSAStartup() Failed", L"网络初始化失败", MB_OK);
        return false;
    }
    return true;
}

void CFindWifiAndroid::OnThreadExit() {
    for (const auto& entry : pendingProbes_) closesocket(entry.first);
    pendingProbes_.clear();
    waitingHosts_.clear();
    WSACleanup();
    delete this;
}

LRESULT CFindWifiAndroid::OnScanStart(UINT, WPARAM, LPARAM, bool&) {
    ScanAll();
    return 0;
}

void CFindWifiAndroid::ScanAll() {
    CSystemAdapterList adapters;
    subnets_.CollectSubnets(adapters);
    const bool wasIdle = waitingHosts_.empty() && pendingProbes_.empty();
    for (const std::wstring& prefix : subnets_.ScanOrder()) {
        for (int host : HostOrder()) waitingHosts_.push_back(prefix + L"." + std::to_wstring(host));
    }
    if (waitingHosts_.empty()) return;  // nothing to wait for, and nothing to report
    StartWaitingProbes();
    if (wasIdle) SetTimer(Handle(), kProbeTimer, kProbeTimerPeriodMs, nullptr);
    EndScanIfSettled();  // every probe may have failed at once
}

void CFindWifiAndroid::StartWaitingProbes() {
    while (pendingProbes_.size() < kMaxProbesInFlight && !waitingHosts_.empty()) {
        ProbeHost(waitingHosts_.front());
        waitingHosts_.pop_front();
    }
}

void CFindWifiAndroid::ProbeHost(const std::wstring& address) {
    const SOCKET probe = OpenProbeSocket();
    if (probe == INVALID_SOCKET) return;  // skipped, not counted
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(kBoxPort);
    target.sin_addr.s_addr = base::BoxFromText(address);
    if (WSAAsyncSelect(probe, Handle(), WM_PROBE_SOCKET, FD_CONNECT) != 0) {
        closesocket(probe);
        return;
    }
    pendingProbes_[probe] = Probe{target.sin_addr.s_addr, GetTickCount()};
    if (connect(probe, reinterpret_cast<const sockaddr*>(&target), sizeof(target)) == SOCKET_ERROR &&
        WSAGetLastError() != WSAEWOULDBLOCK) {
        Settle(probe);  // no connect event follows an immediate failure
    }
}

LRESULT CFindWifiAndroid::OnProbeSocket(UINT, WPARAM wParam, LPARAM lParam, bool&) {
    const SOCKET probe = static_cast<SOCKET>(wParam);
    const auto found = pendingProbes_.find(probe);
    if (found == pendingProbes_.end()) return 0;  // already given up by the time limit

    if (WSAGETSELECTERROR(lParam) != 0) {
        Settle(probe);
    } else if (WSAGETSELECTEVENT(lParam) == FD_CONNECT) {
        sockaddr_in peer{};
        int length = sizeof(peer);
        const ULONG address = getpeername(probe, reinterpret_cast<sockaddr*>(&peer), &length) == 0
                                  ? peer.sin_addr.s_addr
                                  : found->second.address;
        Settle(probe);
        PostResult(address);
    }
    StartWaitingProbes();
    EndScanIfSettled();
    return 0;
}

LRESULT CFindWifiAndroid::OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled) {
    if (wParam != kProbeTimer) {
        handled = false;
        return 0;
    }
    if (!pendingProbes_.empty()) {
        SettleExpiredProbes();
        StartWaitingProbes();
        EndScanIfSettled();
    }
    return 0;
}

void CFindWifiAndroid::SettleExpiredProbes() {
    const DWORD now = GetTickCount();
    for (auto it = pendingProbes_.begin(); it != pendingProbes_.end();) {
        const SOCKET probe = it->first;
        const bool expired = now - it->second.started >= kProbeTimeLimitMs;
        ++it;
        if (expired) Settle(probe);
    }
}

void CFindWifiAndroid::Settle(SOCKET probe) {
    closesocket(probe);
    pendingProbes_.erase(probe);
}

void CFindWifiAndroid::EndScanIfSettled() {
    if (!pendingProbes_.empty() || !waitingHosts_.empty()) return;
    KillTimer(Handle(), kProbeTimer);
    PostResult(0);
}

void CFindWifiAndroid::PostResult(ULONG address) {
    const HWND window = notifyWindow_;
    if (window) PostMessageW(window, WM_SCAN_RESULT, address, 0);
}

}  // namespace discovery
