#pragma once
// A one-line markup caption as a windowless control: runs laid out side by side on a shared bottom
// edge, links that light up under the pointer and report "button:N" clicks to the host as
// WM_COMMAND N.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/skin/host/som_wnd.h"
#include "ui/skin/text/text_run.h"

namespace skin {

class CSomTextWnd : public CSomWnd {
public:
    CSomTextWnd();

    // The same text again changes nothing; a null text is the empty caption.
    void SetText(const wchar_t* markup);
    // printf-style: wide strings for %s. A null format does nothing.
    void SetTextFormat(const wchar_t* format, ...);
    void SetDefaultColor(COLORREF color);
    // Auto-size never grows past this width and drawing cuts runs there (-1: no limit).
    void SetMaxWidth(int width);

    const std::wstring& Text() const { return text_; }
    const std::vector<TextRun>& Runs() const { return runs_; }
    int HoverRun() const { return hoverRun_; }
    int PressedRun() const { return pressedRun_; }

    void OnCreate() override;
    void Paint(HDC dc, int limit, int part) override;
    // The pointer lights link runs and presses them; a click is reported when the press ends.
    // Over a link the pointer is the hand.
    bool OnSetCursor(POINT point) override;
    LRESULT OnMouseMove(POINT point) override;
    void OnMouseLeave() override;
    bool OnLButtonDown(POINT point) override;
    bool OnLButtonDblClk(POINT point) override { return OnLButtonDown(point); }
    bool OnLButtonUp(POINT point) override;
    void OnCaptureLost() override;

private:
    void Layout();
    HFONT RunFont(const TextRun& run) const;
    void DrawRun(HDC dc, int index, int limit) const;
    void RepaintRun(int index);
    int RunAt(POINT point) const;
    // Moves a mark (the hover or the press) to the link run at point: a plain run clears it, a
    // spot between runs leaves it; the runs whose look changed are repainted. True when it moved
    // onto a link run.
    bool MarkRunAt(int& mark, POINT point);

    std::wstring text_;
    std::vector<TextRun> runs_;
    HFONT defaultFont_;
    COLORREF defaultColor_ = 0;
    int maxWidth_ = -1;
    int hoverRun_ = -1;
    int pressedRun_ = -1;
};

}  // namespace skin
