#include "ui/skin/text/run_layout.h"

#include <algorithm>

namespace skin {

RunExtent PlaceRunsOnLine(std::vector<TextRun>& runs, const std::vector<RunExtent>& extents) {
    int32_t height = 0;
    for (size_t i = 0; i < runs.size(); ++i) height = std::max(height, extents[i].cy);
    int32_t x = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        runs[i].bounds = {x, height - extents[i].cy, x + extents[i].cx, height};
        x += extents[i].cx;
    }
    return {x, height};
}

int RunIndexAt(const std::vector<TextRun>& runs, int32_t x, int32_t y) {
    for (size_t i = 0; i < runs.size(); ++i) {
        const RunRect& r = runs[i].bounds;
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return static_cast<int>(i);
    }
    return -1;
}

uint32_t RunDrawColor(const TextRun& run, bool hovered, bool disabled, uint32_t defaultTextColor) {
    if (disabled) return kDisabledTextColor;
    if (hovered) return kHoverLinkColor;
    if (run.color >= 0) return static_cast<uint32_t>(run.color) & 0xFFFFFF;
    return run.link.empty() ? defaultTextColor : kDefaultLinkColor;
}

bool CutRunAtLimit(RunRect& rect, int32_t limit) {
    if (limit == -1) return true;
    if (rect.left > limit) return false;
    rect.right = std::min(rect.right, limit);
    return true;
}

RunRect LeadingTextBounds(const std::vector<TextRun>& runs) {
    RunRect bounds;
    bool first = true;
    for (const TextRun& run : runs) {
        if (!run.link.empty()) break;
        if (first) {
            bounds = run.bounds;
            first = false;
            continue;
        }
        bounds.left = std::min(bounds.left, run.bounds.left);
        bounds.top = std::min(bounds.top, run.bounds.top);
        bounds.right = std::max(bounds.right, run.bounds.right);
        bounds.bottom = std::max(bounds.bottom, run.bounds.bottom);
    }
    return bounds;
}

}  // namespace skin
