#pragma once
// A skinned column header: takes over an existing header control and draws its cells from a
// four-frame picture (normal, hover, pressed, sorted), the sort column with an arrow, and the
// captions in the skin's 12 px font. Its parent reflects its notifications back to it
// (win/reflection.h), which is how it learns that a press ended or a divider is dragged. On every
// pointer move the parent first gets WM_NOTIFY kHeaderPointerMoved.
#include <windows.h>
#include <commctrl.h>

#include "ui/skin/som_bitmap.h"
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

    bool ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnMouseMove(POINT point);
    bool OnLayout(HDLAYOUT* layout);
    void OnReflectedNotify(const NMHDR& header);
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

// The header in the skin's look: resources 10004 (cells, three-part) and 10005 (sort arrows).
class CLFHeaderCtrl : public CSomHeaderCtrl {
public:
    static constexpr int kCellPicture = 10004, kArrowPicture = 10005;
    CLFHeaderCtrl();
};

}  // namespace skin
