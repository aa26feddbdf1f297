#pragma once
// A real owner-drawn list box whose rows are made of windowless controls placed in proportional
// columns. The list is the control manager of those controls: it routes the pointer to them,
// lights the row under the pointer and tells its parent about
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

#include "ui/skin/column_layout.h"
#include "ui/skin/list_row.h"
#include "ui/skin/som_wnd_manager_interface.h"
#include "ui/skin/tool_tip_adapter.h"
#include "ui/skin/wheel_accumulator.h"
#include "win/window.h"

namespace skin {

inline constexpr int kListRowClicked = -10004;
inline constexpr WORD kListScrolled = 0x1000;

struct NMLISTROWCLICK {
    NMHDR header;
    int item;
};

class CSomListBox : public win::WindowImpl<CSomListBox>, public ISomWndManager, public CSomToolTipAdpater {
public:
    static const wchar_t* SuperclassName() { return L"LISTBOX"; }
    static constexpr UINT_PTR kTickTimer = 54321;
    static constexpr UINT kTickMilliseconds = 100;

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
    CSomWnd* HoverControl() const { return hover_; }

    // What lies under a row's controls (rect: the item, null: the clip box). Item -1 with user data
    // -1 is the area below the last item. The default fills with the class background brush.
    virtual void DrawRowBackground(HDC dc, bool hover, bool selected, const RECT* rect, int item, LPARAM userData,
                                   DWORD extra);
    // Drawn over an empty list.
    virtual void DrawEmpty(HDC) {}

    bool ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    void AddWnd(CSomWnd* wnd) override;
    void RemoveWnd(CSomWnd* wnd) override;
    void SetCapture(CSomWnd* wnd) override;
    void ReleaseCapture(CSomWnd* wnd) override;
    LRESULT SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT Notify(CSomWnd* wnd, int code, int id) override;
    BOOL PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetWndRect(CSomWnd* wnd, int x, int y, int cx, int cy) override;
    void SetWndSize(CSomWnd* wnd, int cx, int cy) override;
    void SetWndPos(CSomWnd* wnd, int x, int y) override;
    void InvalidateWnd(CSomWnd* wnd, const RECT* rect, bool force, int part) override;
    int AddTip(CSomWnd* wnd, int code, const RECT* rect) override;
    void RemoveTips(CSomWnd* wnd) override;
    void SuspendImmediatePaint() override { immediate_ = false; }
    void ResumeImmediatePaint() override;
    void PaintBackground(HDC dc, const RECT* rect) override;
    void PaintWnds(HDC dc, const RECT& rect) override;

private:
    // Where a row's control lies in the list: its item and the item's rectangle.
    struct Place {
        int item;
        RECT itemRect;
        ListColumn column;
    };

    bool OnMouse(UINT msg, POINT point, LRESULT& result);
    bool OnSetCursor(LRESULT& result);
    void OnWheel(int delta);
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    void OnTick();
    void OnHostDestroyed();
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void NotifyRowClicked(int item);
    void SetHoverRow(int item);
    void ChangeHover(CSomWnd* target, POINT point);
    // Ends hover and capture held by the row's controls without telling them: they go away.
    void DropRowInput(const ListRow& row);

    int ItemAt(POINT point) const;
    RECT ItemRect(int item) const;
    bool IsSelected(int item) const;
    const std::vector<ListColumn>& ColumnsOf(const ListRow& row) const;
    ListColumn ColumnOf(const ListRow& row, int column) const;
    bool Locate(const CSomWnd& wnd, Place& place) const;
    CSomWnd* ControlAt(int item, POINT point) const;
    POINT ToControl(const CSomWnd& wnd, POINT point) const;

    void DrawItem(HDC dc, int item, const RECT& itemRect, bool selected);
    void PaintRowControl(HDC dc, const ListRow& row, CSomWnd& wnd, const RECT& item, int index, bool hover,
                         bool selected);
    // Invalidates a part of a row control given in its column's coordinates.
    void InvalidateColumnArea(const CSomWnd& wnd, const RECT& area);

    std::map<LPARAM, std::unique_ptr<ListRow>> rows_;  // by user data
    std::vector<std::vector<ListColumn>> kinds_;
    int rowHeight_ = 0;
    CSomWnd* capture_ = nullptr;
    CSomWnd* hover_ = nullptr;
    int hoverRow_ = -1;
    bool hoverHighlight_ = true;
    bool redraw_ = true;
    bool immediate_ = true;
    WheelAccumulator wheel_;
};

}  // namespace skin
