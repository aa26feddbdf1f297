#include "ui/skin/picture/stretch_plan.h"

#include <algorithm>

namespace skin {

namespace {

void Add(AxisSpans& out, Span span) {
    if (span.srcLength > 0 && span.dstLength > 0) out.spans[out.count++] = span;
}

}  // namespace

AxisSpans SplitAxis(int32_t target, int32_t head, int32_t tailStart, int32_t full) {
    AxisSpans out;
    const int32_t tail = full - tailStart;
    const int32_t middle = target - head - tail;
    if (middle >= 0) {
        Add(out, {0, head, 0, head});
        Add(out, {head, tailStart - head, head, middle});
        Add(out, {tailStart, tail, head + middle, tail});
        return out;
    }
    if (target <= 0) return out;
    const int32_t headShown = std::min(head, std::max((target + 1) / 2, target - tail));
    const int32_t tailShown = target - headShown;
    Add(out, {0, headShown, 0, headShown});
    Add(out, {full - tailShown, tailShown, headShown, tailShown});
    return out;
}

}  // namespace skin
