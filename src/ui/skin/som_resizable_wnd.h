#pragma once
// A minimum size for a window that the user can resize: mixed into the window class T and
// chained into its message table before the window's own handlers:
//
//   class CMainDlg : public win::WindowImpl<CMainDlg>, public CSomResizableWnd<CMainDlg, 790, 600> {
//       WIN_BEGIN_MSG_MAP()
//           if (ProcessMinimumSize(msg, lParam, result)) return true;
//
// Windows without a sizing border keep whatever size their code gives them.
#include <windows.h>

namespace skin {

template <class T, int MinWidth, int MinHeight>
class CSomResizableWnd {
public:
    static constexpr SIZE kMinimumSize{MinWidth, MinHeight};

    bool ProcessMinimumSize(UINT msg, LPARAM lParam, LRESULT& result) {
        if (msg != WM_GETMINMAXINFO) return false;
        HWND window = static_cast<T*>(this)->Handle();
        if (!(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME)) return false;
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {MinWidth, MinHeight};
        result = 0;
        return true;
    }
};

}  // namespace skin
