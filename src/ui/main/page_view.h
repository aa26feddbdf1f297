#pragma once
// The controls of one page of the main window, made in the window's control host from the page's
// list of controls (pages.h) and shown as the page's description says, in one loop: each control
// gets its caption first, then its place (centring takes the width the caption gave it), then its
// visibility.
#include <windows.h>

#include <memory>
#include <vector>

#include "ui/main/page_description.h"
#include "ui/skin/host/som_wnd.h"
#include "ui/skin/host/som_wnd_manager.h"

namespace ui {

class CPageView {
public:
    // Hidden, at the window's top-left corner until a description shows them.
    void Create(skin::ISomWndManager& host, const std::vector<ControlSpec>& specs);
    // The backdrop pictures the description asks for, where they go in a client area that wide.
    std::vector<skin::BackdropLayer> Show(const PageDescription& page, int clientWidth);

private:
    void ShowControl(size_t index, const ControlLook& look, int clientWidth, std::vector<int32_t>& lefts);

    std::vector<ControlSpec> specs_;
    std::vector<std::unique_ptr<skin::CSomWnd>> controls_;
};

}  // namespace ui
