#pragma once
// The main window's tabs: an icon with a caption, lit while hovered and marked while selected.
// A click selects a tab and reports its command; the host clears the other tabs of the group.
// The horizontal tab puts the caption under the icon, the vertical one beside it.
#include <string>

#include "ui/skin/lf_skin_button.h"
#include "ui/skin/som_bitmap.h"

namespace skin {

class CLFTabButton : public CLFSkinButton {
public:
    void SetCaption(std::wstring caption);
    void SetIcon(CSomBitmap* icon, int frame = 0);
    // For the host: selecting by hand reports nothing.
    void SetSelected(bool selected);
    bool IsSelected() const { return selected_; }

    void OnCreate() override;
    bool OnLButtonDown(POINT point) override;

protected:
    bool selected_ = false;
    std::wstring caption_;
    CSomBitmap* icon_ = nullptr;
    int iconFrame_ = 0;
};

class CLFToolBarHButton : public CLFTabButton {
public:
    static constexpr int kTabPicture = 10014;
    void Paint(HDC dc, int limit, int part) override;

protected:
    SIZE NaturalSize() const override;
};

class CLFToolBarVButton : public CLFTabButton {
public:
    static constexpr SIZE kSize{200, 75};
    static constexpr BYTE kSelectedShade = 100, kHoverShade = 20;
    void Paint(HDC dc, int limit, int part) override;

protected:
    SIZE NaturalSize() const override { return kSize; }
};

}  // namespace skin
