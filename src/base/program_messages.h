#pragma once
// The program's private window messages, one list for every floor that posts or receives them.
// All are posted, never sent; a heap record a message carries belongs to the receiver.
namespace base {

// From the device picker to the main window: wParam = the chosen box's address (0: none).
inline constexpr unsigned int WM_BOX_SELECTED = 0x1D85;

}  // namespace base
