#pragma once
// Screenshots of the controls page as it stands on the screen, with its child windows and
// pop-ups: first with the pointer resting on a list row, then on the dialog's button until its
// tooltip shows ("<name>-tooltip.png" beside "<name>.png").
#include <string>

#include "gallery_window.h"

namespace gallery {

bool SaveControlsShots(GalleryWindow& window, const std::wstring& pngPath);

}  // namespace gallery
