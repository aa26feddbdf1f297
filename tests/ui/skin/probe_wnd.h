#pragma once
// A windowless control that writes down every call the manager makes, paints itself in one solid
// colour, and follows the stock click protocol: capture on press, release on button-up, and a
// click notification on capture loss when the pointer is still over it.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/skin/host/som_wnd.h"

namespace skin_test {

class ProbeWnd : public skin::CSomWnd {
public:
    explicit ProbeWnd(COLORREF color = RGB(200, 40, 40)) : color_(color) {}

    // The calls, in order: "enter", "leave", "move", "down", "up", "dblclk", "lost", "cursor",
    // "tick", "create", "destroy", "onmove", "onsize", "paint:<part>", "tip:<code>".
    std::vector<std::string> calls;
    int Count(const std::string& call) const;
    void Forget() { calls.clear(); }
    bool hovered = false;
    bool pressed = false;

    void OnCreate() override { calls.push_back("create"); }
    void OnDestroy() override { calls.push_back("destroy"); }
    void OnTick() override { calls.push_back("tick"); }
    void OnMove(int, int) override { calls.push_back("onmove"); }
    void OnSize(int, int) override { calls.push_back("onsize"); }
    void Paint(HDC dc, int limit, int part) override;
    void OnCaptureLost() override;
    bool OnSetCursor(POINT) override;
    bool OnLButtonDown(POINT) override;
    bool OnLButtonUp(POINT) override;
    bool OnLButtonDblClk(POINT) override;
    LRESULT OnMouseMove(POINT) override;
    void OnMouseEnter(POINT) override;
    void OnMouseLeave() override;
    void OnGetTipText(int code, NMTTDISPINFOW* request) override;

private:
    COLORREF color_;
};

}  // namespace skin_test
