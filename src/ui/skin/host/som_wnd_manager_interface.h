#pragma once
// What a windowless control may ask of whatever hosts it: a real window's manager
// (CSomWndManager) or a list whose rows hold controls. The slot order is shared by every host.
#include <windows.h>

namespace skin {

class CSomWnd;

class ISomWndManager {
public:
    virtual void AddWnd(CSomWnd* wnd) = 0;
    virtual void RemoveWnd(CSomWnd* wnd) = 0;
    virtual void SetCapture(CSomWnd* wnd) = 0;
    virtual void ReleaseCapture(CSomWnd* wnd) = 0;
    virtual LRESULT SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    // WM_COMMAND to the host: (code << 16) | (id & 0xFFFF), and the control's address.
    virtual LRESULT Notify(CSomWnd* wnd, int code, int id) = 0;
    virtual BOOL PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    virtual void SetWndRect(CSomWnd* wnd, int x, int y, int cx, int cy) = 0;
    virtual void SetWndSize(CSomWnd* wnd, int cx, int cy) = 0;
    virtual void SetWndPos(CSomWnd* wnd, int x, int y) = 0;
    // rect in control coordinates, null for all of it; part is passed on to the control's Paint.
    virtual void InvalidateWnd(CSomWnd* wnd, const RECT* rect, bool force, int part) = 0;
    // The tooltip region's id, or 0 when the control already has one with this code.
    virtual int AddTip(CSomWnd* wnd, int code, const RECT* rect) = 0;
    virtual void RemoveTips(CSomWnd* wnd) = 0;
    virtual void SuspendImmediatePaint() = 0;
    virtual void ResumeImmediatePaint() = 0;
    // rect null: the device context's clip box.
    virtual void PaintBackground(HDC dc, const RECT* rect) = 0;
    virtual void PaintWnds(HDC dc, const RECT& rect) = 0;

protected:
    ~ISomWndManager() = default;
};

}  // namespace skin
