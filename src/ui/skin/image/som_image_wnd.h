#pragma once
// A still skin picture (one frame of it) as a windowless control, and the looping animation that
// steps through all frames of a picture on the manager's 100 ms tick.
#include "ui/skin/host/som_wnd.h"
#include "ui/skin/picture/som_bitmap.h"

namespace skin {

class CSomImageWnd : public CSomWnd {
public:
    // Hosts give the picture before Create; a later change resizes and repaints as Create would.
    void SetBitmap(CSomBitmap* bitmap, int frame = 0);
    CSomBitmap* Bitmap() const { return bitmap_; }
    int Frame() const { return frame_; }

    // Auto-size takes the frame size; a picture with alpha makes the control transparent.
    void OnCreate() override;
    void Paint(HDC dc, int limit, int part) override;

protected:
    CSomBitmap* bitmap_ = nullptr;
    int frame_ = 0;
};

class CSomAnimation : public CSomImageWnd {
public:
    void OnCreate() override;
    // Only while visible: a hidden animation keeps its frame and resumes from it.
    void OnTick() override;
};

}  // namespace skin
