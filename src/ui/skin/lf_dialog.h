#pragma once
// The skinned dialog in the skin's look: the window background picture (nine-part) and the
// skin's close button.
#include "ui/skin/skin_resources.h"
#include "ui/skin/som_dialog.h"

namespace skin {

class CLFDialog : public CSomDialog {
public:
    static constexpr int kBackgroundPicture = 10001, kClosePicture = 10012;
    CLFDialog() : CSomDialog(Skin()->Bitmap(kBackgroundPicture), Skin()->Bitmap(kClosePicture)) {}
};

}  // namespace skin
