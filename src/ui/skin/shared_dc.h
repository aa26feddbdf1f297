#pragma once
// The process-wide memory device context, compatible with the screen, into which pictures are
// selected for one drawing call and on which captions are measured. UI thread only.
#include <windows.h>

namespace skin {

HDC SharedMemoryDC();  // made on first use
void ReleaseSharedMemoryDC();

}  // namespace skin
