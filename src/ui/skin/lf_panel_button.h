#pragma once
// The device panel: the skin's panel picture with a title over a subtitle and an optional badge.
// It reports its command as soon as the button goes down.
#include <string>

#include "ui/skin/lf_skin_button.h"

namespace skin {

class CLFPanelButton : public CLFSkinButton {
public:
    static constexpr int kPanelPicture = 10022;
    static constexpr int kBadgePicture = 10025;
    enum Badge { kNoBadge = 0, kMoreBoxes = 1, kNewBoxes = 2 };

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

}  // namespace skin
