#pragma once
// A minimum size for a window that the user can resize: mixed into the window class T, whose
// table chains this part before the window's own handlers:
//
//   class CFoo : public win::WindowImpl<CFoo>, public CSomResizableWnd<CFoo, 790, 600> {
//       WIN_BEGIN_MSG_MAP()
//           WIN_CHAIN_MSG_MAP_PART(ProcessMinimumSize)
//
// Windows without a sizing border keep whatever size their code gives them.
#include <windows.h>

#include "win/window.h"

namespace skin {

template <class T, int MinWidth, int MinHeight>
class CSomResizableWnd {
public:
    static constexpr SIZE kMinimumSize{MinWidth, MinHeight};

    WIN_BEGIN_MSG_MAP_PART(ProcessMinimumSize)
        WIN_MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    WIN_END_MSG_MAP()

private:
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled) {
        HWND window = static_cast<T*>(this)->Handle();
        handled = (GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME) != 0;
        if (handled) reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {MinWidth, MinHeight};
        return 0;
    }
};

}  // namespace skin
