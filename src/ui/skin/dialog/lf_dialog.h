#pragma once
// The skinned dialog in the skin's look: the window background picture (nine-part) and the
// skin's close button.
#include "skin_art.h"
#include "ui/skin/dialog/som_dialog.h"
#include "ui/skin/paint/skin_resources.h"

namespace skin {

class CLFDialog : public CSomDialog {
public:
    CLFDialog() : CSomDialog(Skin()->Bitmap(art::kWindow), Skin()->Bitmap(art::kClose)) {}
};

}  // namespace skin
