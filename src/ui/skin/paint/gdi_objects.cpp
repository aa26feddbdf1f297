#include "ui/skin/paint/gdi_objects.h"

namespace skin {

namespace {
HDC g_memoryDC = nullptr;
}

HDC SharedMemoryDC() {
    if (!g_memoryDC) g_memoryDC = CreateCompatibleDC(nullptr);
    return g_memoryDC;
}

void ReleaseSharedMemoryDC() {
    if (g_memoryDC) DeleteDC(g_memoryDC);
    g_memoryDC = nullptr;
}

}  // namespace skin
