#pragma once
// The skin's large buttons of the main window: the device panel (a title over a subtitle, with an
// optional badge) and the tabs (an icon with a caption, lit while hovered and marked while
// selected; the horizontal tab puts the caption under the icon, the vertical one beside it). They
// react on the press (no capture): the panel reports its command at once, a tab selects itself and
// reports its command, and the host clears the other tabs of the group. Captions turn grey when a
// button is disabled; an auto-size button takes a size of its own.
#include <windows.h>

#include <string>

#include "ui/skin/button/som_button3.h"
#include "ui/skin/picture/som_bitmap.h"

namespace skin {

class CLFSkinButton : public CSomHoverWnd {
public:
    static constexpr COLORREF kDisabledCaption = 0x808080;

    void SetTextColor(COLORREF color);

    void OnCreate() override;
    bool OnLButtonUp(POINT) override { return true; }
    bool OnLButtonDblClk(POINT point) override { return OnLButtonDown(point); }

protected:
    // The size an auto-size button takes.
    virtual SIZE NaturalSize() const = 0;
    COLORREF CaptionColor() const { return IsEnabled() ? textColor_ : kDisabledCaption; }

private:
    COLORREF textColor_ = 0xFFFFFF;
};

class CLFPanelButton : public CLFSkinButton {
public:
    enum Badge { kNoBadge = 0, kMoreBoxes = 1, kNewBoxes = 2 };

    // Each repaints the panel when the value changes.
    void SetTitle(std::wstring title);
    void SetSubtitle(std::wstring subtitle);
    void SetBadge(int kind);

    void Paint(HDC dc, int limit, int part) override;
    bool OnLButtonDown(POINT point) override;

protected:
    SIZE NaturalSize() const override;

private:
    int badge_ = kNoBadge;
    std::wstring title_;
    std::wstring subtitle_;
};

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
