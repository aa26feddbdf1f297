#pragma once
// The base of every windowless control: a rectangle inside a host window that the host's manager
// feeds with mouse, timer and paint calls. Controls are members of their host object; the manager
// only keeps pointers. Points passed to the hooks are in the control's own coordinates.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "ui/skin/host/som_wnd_manager_interface.h"

namespace skin {

enum SomWndFlags : uint32_t {
    kSomVisible = 1,
    kSomAutoSize = 2,     // the control sizes itself to its content
    kSomDisabled = 4,     // skipped by hit-testing, drawn greyed where supported
    kSomTransparent = 8,  // the host background is painted under the control first
};

class CSomWnd {
public:
    CSomWnd() = default;
    // A control that dies before its host leaves the host's list, so no dangling pointer stays.
    virtual ~CSomWnd();
    CSomWnd(const CSomWnd&) = delete;
    CSomWnd& operator=(const CSomWnd&) = delete;

    // For controls made on the heap (list rows): the owner disposes of them through this.
    virtual void DeleteThis() { delete this; }
    virtual void OnCreate() {}
    virtual void OnDestroy() {}
    virtual void OnTick() {}
    virtual void OnMove(int /*x*/, int /*y*/) {}
    virtual void OnSize(int /*cx*/, int /*cy*/) {}
    // dc's origin is the control's top-left corner; limit is -1 or the visible width in a list
    // column; part is 0 for everything or a control-defined part from Invalidate.
    virtual void Paint(HDC /*dc*/, int /*limit*/, int /*part*/) {}
    virtual void OnCaptureLost() {}
    virtual bool OnSetCursor(POINT) { return false; }
    virtual bool OnLButtonDown(POINT) { return false; }
    virtual bool OnLButtonUp(POINT) { return false; }
    virtual bool OnLButtonDblClk(POINT) { return false; }
    virtual LRESULT OnMouseMove(POINT) { return 0; }
    virtual void OnMouseEnter(POINT) {}
    virtual void OnMouseLeave() {}
    virtual void OnGetTipText(int /*code*/, NMTTDISPINFOW* /*request*/) {}

    // Registers with the manager, then OnCreate, OnMove and OnSize.
    void Create(ISomWndManager* manager, void* ownerItem, int column, int x, int y, int cx, int cy,
                int id, uint32_t flags);
    // Returns the previous visibility; hiding repaints the host background where the control was.
    bool SetVisible(bool show);
    bool IsVisible() const { return flags_ & kSomVisible; }
    bool IsEnabled() const { return !(flags_ & kSomDisabled); }
    bool IsTransparent() const { return flags_ & kSomTransparent; }
    bool IsAutoSize() const { return flags_ & kSomAutoSize; }

    void SetWndSize(int cx, int cy);
    void SetWndPos(int x, int y);
    // Repaints part of the control (rect in control coordinates; null: all of it).
    void Invalidate(const RECT* rect = nullptr, int part = 0);

    int Id() const { return id_; }
    const RECT& Bounds() const { return bounds_; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    ISomWndManager* Manager() const { return manager_; }
    void* OwnerItem() const { return ownerItem_; }
    int Column() const { return column_; }

    // For managers: geometry changes, and the reset when the host window goes away.
    void SetBounds(const RECT& bounds) { bounds_ = bounds; }
    void Detach();

protected:
    uint32_t flags_ = 0;

private:
    int id_ = 0;
    RECT bounds_{};
    ISomWndManager* manager_ = nullptr;
    void* ownerItem_ = nullptr;
    int column_ = 0;
};

}  // namespace skin
