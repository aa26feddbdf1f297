#pragma once
// Turns a one-line markup caption into styled runs. Tags are "{&#" body "}"; their bodies switch
// font, colour, link, link colour and hover underline through five stacks. Never fails: malformed
// tags degrade to text or to no effect.
#include <vector>

#include "ui/skin/text/text_run.h"

namespace skin {

// A null markup is the empty caption.
std::vector<TextRun> ParseMarkup(const wchar_t* markup, const IFontTable& fonts);

}  // namespace skin
