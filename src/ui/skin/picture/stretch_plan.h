#pragma once
// How a picture with fixed borders covers a target length along one axis: the head keeps its size,
// the middle stretches, the tail keeps its size. Three-part drawing splits the width this way,
// nine-part drawing both the width and the height.
#include <cstdint>

namespace skin {

struct Span {
    int32_t srcStart = 0, srcLength = 0;  // inside the frame
    int32_t dstStart = 0, dstLength = 0;  // from the target's start
    bool Scaled() const { return srcLength != dstLength; }
};

struct AxisSpans {
    Span spans[3];
    int count = 0;
};

// full: the frame's length; head: the fixed head's length; tailStart: where the fixed tail begins.
// A target shorter than head + tail gets no middle and shows only the outer ends of head and tail,
// each at most half the target (the other side takes what one leaves), so no span is negative.
// Spans of length zero are left out.
AxisSpans SplitAxis(int32_t target, int32_t head, int32_t tailStart, int32_t full);

}  // namespace skin
