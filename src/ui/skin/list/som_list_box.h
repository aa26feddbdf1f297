#pragma once
// A real owner-drawn list box whose rows are made of windowless controls placed in proportional
// columns. The list is the host of those controls (the host core maps their places through their
// rows and columns); it lights the row under the pointer and tells its parent about
//   - a press on a row outside any control: WM_NOTIFY kListRowClicked (NMLISTROWCLICK), after
//     which the row is selected as usual;
//   - a control's click: WM_COMMAND (code, control id) with the row's user data;
//   - scrolling: WM_COMMAND kListScrolled with the list's handle.
// Owner drawing works through reflection: the parent sends WM_DRAWITEM back to the list
// (WIN_REFLECT_NOTIFICATIONS, win/reflection.h). The list has no keyboard navigation.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ui/skin/host/control_host.h"
#include "ui/skin/list/list_arithmetic.h"
#include "ui/skin/list/list_row.h"
#include "win/reflection.h"
#include "win/window.h"

namespace skin {

inline constexpr int kListRowClicked = -10004;
inline constexpr WORD kListScrolled = 0x1000;

struct NMLISTROWCLICK {
    NMHDR header;
    int item;
};

class CSomListBox : public win::WindowImpl<CSomListBox>, public CSomWndHost {
public:
    static const wchar_t* SuperclassName() { return L"LISTBOX"; }

    CSomListBox();
    ~CSomListBox() override;

    // A visible child list with fixed-height owner-drawn items; listStyle adds list styles.
    HWND Create(HWND parent, const RECT& rect, UINT id, DWORD listStyle = WS_VSCROLL);

    // Fills a new row: create its controls with CreateRowControl.
    using RowBuilder = std::function<void(ListRow& row)>;
    // The new item's position; -1 when a row has this user data already, or the platform's own
    // negative answer when it cannot add an item.
    int InsertRow(int position, LPARAM userData, const RowBuilder& build = {}, int kind = 0, DWORD extra = 0);
    // A control of type T made on the heap and created in the row (owned by it from then on);
    // its position is relative to its column's left edge and the row's top.
    template <class T>
    T* CreateRowControl(ListRow& row, int column, int x, int y, int cx, int cy, int id, uint32_t flags) {
        T* wnd = new T;
        wnd->Create(this, &row, column, x, y, cx, cy, id, flags);
        return wnd;
    }
    // A position that holds no row is left alone.
    void DeleteRow(int item);
    void DeleteAllRows();
    ListRow* RowAt(int item) const;
    ListRow* FindRow(LPARAM userData) const;
    // The row's item position, or -1 when it is not in the list.
    int RowIndex(ListRow& row) const;
    int RowCount() const;

    // The columns of the rows of one kind; a new list has one kind with one column over all.
    void SetColumns(int kind, std::vector<ListColumn> columns);
    const std::vector<ListColumn>& Columns(int kind) const;
    void SetRowHeight(int height);
    void SetHoverHighlight(bool on) { hoverHighlight_ = on; }
    int HoverRow() const { return hoverRow_; }

    // What lies under a row's controls (rect: the item, null: the clip box). Item -1 with user data
    // -1 is the area below the last item. The default fills with the class background brush.
    virtual void DrawRowBackground(HDC dc, bool hover, bool selected, const RECT* rect, int item, LPARAM userData,
                                   DWORD extra);
    // Drawn over an empty list.
    virtual void DrawEmpty(HDC) {}

    WIN_BEGIN_MSG_MAP()
        WIN_CHAIN_MSG_MAP(CSomWndHost)
        WIN_MESSAGE_RANGE_HANDLER(WM_KEYFIRST, WM_KEYLAST, OnKey)
        WIN_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WIN_MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
        WIN_MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
        WIN_MESSAGE_HANDLER(win::kReflectedBase + WM_DRAWITEM, OnDrawItem)
        WIN_MESSAGE_HANDLER(win::kReflectedBase + WM_MEASUREITEM, OnMeasureItem)
    WIN_END_MSG_MAP()

    void AddWnd(CSomWnd* wnd) override;
    // WM_COMMAND (code, id) to the parent with the row's user data.
    LRESULT Notify(CSomWnd* wnd, int code, int id) override;
    void PaintBackground(HDC dc, const RECT* rect) override;
    void PaintWnds(HDC dc, const RECT& rect) override;

protected:
    // The notification code a control's click reaches the parent with.
    virtual WORD ControlCommandCode(int code) const { return static_cast<WORD>(code); }

    // Where the row controls lie: in their row's item, offset by their column.
    void UnlistWnd(CSomWnd& wnd) override;
    void ForEachWnd(const std::function<void(CSomWnd&)>& visit) override;
    void DetachWnds() override { DeleteAllRows(); }
    bool WndOrigin(const CSomWnd& wnd, POINT& origin) const override;
    CSomWnd* WndAt(POINT point) const override;
    void PaintArea(HDC dc, const RECT& area) override { PaintWnds(dc, area); }
    // The whole row is drawn again inside the control's area: its background, the control and
    // whatever else lies there.
    void RepaintNow(HDC dc, CSomWnd& wnd, const RECT& area, int part) override;
    HWND MessageTarget() const override { return GetParent(hwnd_); }
    bool FollowsPointer() const override { return HoverControl() || hoverRow_ >= 0; }
    void OnPointerMoved(POINT point) override { SetHoverRow(ItemAt(point)); }
    void OnPointerLeft() override { SetHoverRow(-1); }
    bool OnButtonBesideControls(UINT msg, POINT point, CSomWnd* target) override;

private:
    LRESULT OnKey(UINT, WPARAM, LPARAM, bool&) { return 0; }
    LRESULT OnSize(UINT, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnMouseWheel(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnVScroll(UINT, WPARAM wParam, LPARAM lParam, bool&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, bool&);
    LRESULT OnMeasureItem(UINT, WPARAM, LPARAM lParam, bool&);

    void NotifyRowClicked(int item);
    void SetHoverRow(int item);

    int ItemAt(POINT point) const;
    RECT ItemRect(int item) const;
    bool IsSelected(int item) const;
    const std::vector<ListColumn>& ColumnsOf(const ListRow& row) const;
    ListColumn ColumnOf(const ListRow& row, int column) const;

    void DrawItem(HDC dc, int item, const RECT& itemRect, bool selected);
    void PaintRowControl(HDC dc, const ListRow& row, CSomWnd& wnd, const RECT& item, int index, bool hover,
                         bool selected);

    std::map<LPARAM, std::unique_ptr<ListRow>> rows_;  // by user data
    std::vector<std::vector<ListColumn>> kinds_;
    int rowHeight_ = 0;
    int hoverRow_ = -1;
    bool hoverHighlight_ = true;
    WheelAccumulator wheel_;
};

}  // namespace skin
