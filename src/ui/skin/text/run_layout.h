#pragma once
// Where the runs of a caption sit and in which colour they are drawn: the arithmetic of the text
// control, kept free of the platform.
#include <cstdint>
#include <vector>

#include "ui/skin/text/text_run.h"

namespace skin {

struct RunExtent {
    int32_t cx = 0, cy = 0;
};

// Places the runs left to right from x = 0 on one line; all share the bottom edge of a line as high
// as the tallest run. extents[i] is the measured size of runs[i]. Returns the line's size.
RunExtent PlaceRunsOnLine(std::vector<TextRun>& runs, const std::vector<RunExtent>& extents);

// Index of the first run whose bounds contain the point (right and bottom edges excluded), or -1.
int RunIndexAt(const std::vector<TextRun>& runs, int32_t x, int32_t y);

// What the runs before the first link cover, after layout: a caption's words, without the links
// that follow them. Empty when the caption starts with a link.
RunRect LeadingTextBounds(const std::vector<TextRun>& runs);

// Fixed colours of the text control (0x00BBGGRR).
inline constexpr uint32_t kHoverLinkColor = 0xFFBC5D;
inline constexpr uint32_t kDefaultLinkColor = 0xE59422;
inline constexpr uint32_t kDisabledTextColor = 0xC7C7C7;

uint32_t RunDrawColor(const TextRun& run, bool hovered, bool disabled, uint32_t defaultTextColor);

// Cuts a run's rectangle at a drawing limit (-1: none). False when the run lies wholly beyond it.
bool CutRunAtLimit(RunRect& rect, int32_t limit);

}  // namespace skin
