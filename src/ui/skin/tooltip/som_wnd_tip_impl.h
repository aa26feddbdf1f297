#pragma once
// Adds a tooltip text to a windowless control: while the pointer is over the control, the whole
// control is a tooltip region of its manager, whose tooltip window (when the host attached one,
// see tool_tip_regions.h) asks the control for the text.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>

namespace skin {

template <class T>
class CSomWndTipImpl : public T {
public:
    void SetTipText(std::wstring text) { tipText_ = std::move(text); }
    const std::wstring& TipText() const { return tipText_; }

    void OnMouseEnter(POINT point) override {
        if (!tipText_.empty() && this->Manager()) this->Manager()->AddTip(this, 0, nullptr);
        T::OnMouseEnter(point);
    }
    void OnMouseLeave() override {
        if (this->Manager()) this->Manager()->RemoveTips(this);
        T::OnMouseLeave();
    }
    void OnGetTipText(int, NMTTDISPINFOW* request) override {
        request->lpszText = const_cast<wchar_t*>(tipText_.c_str());
    }

private:
    std::wstring tipText_;
};

}  // namespace skin
