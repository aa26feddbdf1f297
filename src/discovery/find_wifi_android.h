#pragma once
// The discovery worker: finds TV boxes by trying a TCP connection to port 5555 on every host of the
// chosen subnets. Every probe is a non-blocking connect whose end arrives as a message on the
// worker's own thread; nothing is ever sent on a connection, which is closed at once.
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <deque>
#include <map>
#include <string>

#include "base/program_messages.h"
#include "discovery/subnet_selection.h"
#include "win/worker_thread.h"

namespace discovery {

using base::WM_PROBE_SOCKET;
using base::WM_SCAN_RESULT;
using base::WM_SCAN_START;

// A host that neither accepts nor refuses within this time is given up, so that every scan ends.
// It leaves room for a box on Wi-Fi that wakes slowly and for one lost SYN, while a LAN box answers
// within milliseconds.
constexpr DWORD kProbeTimeLimitMs = 4000;

// Probes open at the same time. One /24 subnet (255 hosts) fits at once, so the common sweep of one
// home network takes no longer than unlimited probing; further subnets wait for free places. A
// sweep of many subnets (virtual and VPN adapters add them) would otherwise hold thousands of
// sockets and posted connect messages at once, beyond what the system lets one thread keep
// (10,000 posted messages per queue), and hosts whose socket could not be made would be missed.
constexpr size_t kMaxProbesInFlight = 256;

class CFindWifiAndroid : public win::CSomWorkerThread<CFindWifiAndroid> {
public:
    // The program's one discovery worker, started on first use; ends the process with 444 if it
    // cannot start.
    static CFindWifiAndroid* Instance();

    // Any thread: results go to window; the scan runs on the worker thread.
    void StartScan(HWND window);

    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WIN_MESSAGE_HANDLER(WM_PROBE_SOCKET, OnProbeSocket)
        WIN_MESSAGE_HANDLER(WM_SCAN_START, OnScanStart)
        WIN_MESSAGE_HANDLER(WM_TIMER, OnTimer)
    WIN_END_MSG_MAP()

    bool OnThreadInit();
    void OnThreadExit();

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool&) { return 0; }
    LRESULT OnProbeSocket(UINT, WPARAM wParam, LPARAM lParam, bool&);
    LRESULT OnScanStart(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled);

    struct Probe {
        ULONG address;  // network byte order
        DWORD started;  // tick count
    };

    void ScanAll();
    // Opens probes from the waiting hosts, in order, while there is room.
    void StartWaitingProbes();
    void ProbeHost(const std::wstring& address);
    void Settle(SOCKET probe);
    void SettleExpiredProbes();
    void PostResult(ULONG address);
    void EndScanIfSettled();

    SubnetSelection subnets_;
    std::deque<std::wstring> waitingHosts_;  // addresses of hosts not probed yet, in probing order
    std::map<SOCKET, Probe> pendingProbes_;  // open probes; with the waiting hosts, what a scan waits for
    std::atomic<HWND> notifyWindow_{nullptr};
};

}  // namespace discovery
