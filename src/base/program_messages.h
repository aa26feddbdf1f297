#pragma once
// The program's private window messages, one list for every floor that posts or receives them.
// All are posted, never sent; a heap record a message carries belongs to the receiver.
namespace base {

// To the discovery worker: scan the local subnets.
inline constexpr unsigned int WM_SCAN_START = 0x1D80;
// To the window that asked for the scan: wParam = the address of a host that accepted, 0 = the
// scan has ended.
inline constexpr unsigned int WM_SCAN_RESULT = 0x1D81;
// To the discovery worker, from the socket layer: a probe's connect ended.
inline constexpr unsigned int WM_PROBE_SOCKET = 0x1D82;
// To the command engine: wParam = a ShellTask.
inline constexpr unsigned int WM_SHELL_TASK = 0x1D83;
// To the engine's notify window: wParam = a ShellResult.
inline constexpr unsigned int WM_SHELL_RESULT = 0x1D84;
// From the device picker to the main window: wParam = the chosen box's address (0: none).
inline constexpr unsigned int WM_BOX_SELECTED = 0x1D85;
// From a download's worker to the upgrade dialog: wParam = the download's notification code,
// lParam = the dialog's window.
inline constexpr unsigned int WM_DOWNLOAD_NOTIFY = 0x1404;

}  // namespace base
