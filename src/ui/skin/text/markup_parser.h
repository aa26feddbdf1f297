#pragma once
// Turns a one-line markup caption into styled runs. Tags are "{&#" body "}"; their bodies switch
// font, colour, link, link colour and hover underline through five stacks. Never fails: malformed
// tags degrade to text or to no effect.
#include <string>
#include <string_view>
#include <vector>

#include "ui/skin/text/text_run.h"

namespace skin {

// A null markup is the empty caption.
std::vector<TextRun> ParseMarkup(const wchar_t* markup, const IFontTable& fonts);

// Text from outside (a file's or a box's name, an address, a client's words) as it goes into a
// caption: whatever it holds, the caption shows it as it is and in the caption's style. The markup
// has no escape, so every "{" is followed by an empty tag, which cannot start a tag itself and
// leaves no "{&#" for the text to complete, before or after it.
std::wstring EscapeMarkupText(std::wstring_view text);

}  // namespace skin
