#pragma once
// A skinned column header: takes over an existing header control and draws its cells from a
// four-frame picture (normal, hover, pressed, sorted), the sort column with an arrow, and the
// captions in the skin's 12 px font. Its parent reflects its notifications back to it
// (win/reflection.h), which is how it learns that a press ended or a divider is dragged. On every
// pointer move the parent first gets WM_NOTIFY kHeaderPointerMoved.
#include <windows.h>
#include <commctrl.h>

#include "ui/skin/picture/som_bitmap.h"
#include "win/reflection.h"
#include "win/window.h"

namespace skin {

inline constexpr int kHeaderPointerMoved = -10003;

class CSomHeaderCtrl : public win::WindowBase {
public:
    // cells: four frames; sortArrow: two frames, 0 for ascending, 1 for descending.
    CSomHeaderCtrl(CSomBitmap* cells, CSomBitmap* sortArrow) : cells_(cells), sortArrow_(sortArrow) {}

    bool Attach(HWND header) { return SubclassWindow(header); }
    // column -1: none.
    void SetSortColumn(int column, bool ascending);
    int HoverItem() const { return hoverItem_; }
    int PressedItem() const { return pressedItem_; }
    bool IsTracking() const { return tracking_; }

    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        WIN_MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
        WIN_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        WIN_MESSAGE_HANDLER(HDM_LAYOUT, OnLayout)
        WIN_MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        WIN_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WIN_MESSAGE_HANDLER(WM_PRINTCLIENT, OnPaint)
        WIN_MESSAGE_HANDLER(win::kReflectedBase + WM_NOTIFY, OnReflectedNotify)
    WIN_END_MSG_MAP()

private:
    // The pointer and the press: the header's own handling runs too.
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM lParam, bool& handled);
    LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, bool& handled);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM lParam, bool& handled);
    LRESULT OnLayout(UINT, WPARAM, LPARAM lParam, bool&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, bool&) { return 1; }
    LRESULT OnPaint(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnReflectedNotify(UINT, WPARAM, LPARAM lParam, bool&);
    void Paint(HDC dc);
    void PaintItem(HDC dc, int item, const RECT& rect);
    int ItemAt(POINT point) const;
    void Repaint() const { InvalidateRect(hwnd_, nullptr, FALSE); }

    CSomBitmap* cells_;
    CSomBitmap* sortArrow_;
    int pressedItem_ = -1;
    int hoverItem_ = -1;
    int sortColumn_ = -1;
    bool ascending_ = true;
    bool tracking_ = false;
};

// The header in the skin's look: the skin's header cells (three-part) and sort arrows.
class CLFHeaderCtrl : public CSomHeaderCtrl {
public:
    CLFHeaderCtrl();
};

}  // namespace skin
