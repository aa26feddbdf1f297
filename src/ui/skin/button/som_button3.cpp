#include "ui/skin/button/som_button3.h"

#include "ui/skin/button/button_faces.h"

namespace skin {

void CSomButton3::SetFaceBitmap(CSomBitmap* face) {
    face_ = face;
    if (face_ && IsAutoSize()) SetWndSize(face_->GetFrameWidth(), face_->GetFrameHeight());
    Invalidate();
}

void CSomButton3::SetIcon(CSomBitmap* icon, int frame) {
    icon_ = icon;
    iconFrame_ = frame;
    Invalidate();
}

void CSomButton3::OnCreate() {
    flags_ |= kSomTransparent;
    hover_ = pressed_ = false;
    if (face_ && face_->GetFrameWidth() && IsAutoSize())
        SetWndSize(face_->GetFrameWidth(), face_->GetFrameHeight());
}

void CSomButton3::Paint(HDC dc, int, int) {
    // A button made without a face shows nothing rather than failing.
    if (face_) face_->DrawFrame(dc, 0, 0, ButtonFaceFrame(!IsEnabled(), hover_, pressed_));
    if (icon_) {
        icon_->DrawFrame(dc, (Width() - icon_->GetFrameWidth()) / 2, (Height() - icon_->GetFrameHeight()) / 2,
                         iconFrame_);
    }
}

bool CSomButton3::OnLButtonDown(POINT) {
    if (pressed_) return true;
    pressed_ = true;
    Invalidate();
    Manager()->SetCapture(this);
    return true;
}

bool CSomButton3::OnLButtonUp(POINT) {
    if (pressed_) Manager()->ReleaseCapture(this);
    return true;
}

void CSomButton3::OnCaptureLost() {
    if (!pressed_) return;
    pressed_ = false;
    Invalidate();
    // Released elsewhere: leaving the button during the press cleared the hover state.
    if (hover_) Manager()->Notify(this, 0, Id());
}

}  // namespace skin
