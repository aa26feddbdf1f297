#include "ui/skin/host/paint_back_buffer.h"

namespace skin {

namespace {
HDC g_dc = nullptr;
HBITMAP g_bitmap = nullptr;
HGDIOBJ g_previous = nullptr;
}  // namespace

void PaintBackBuffer::Create() {
    if (g_dc) return;
    HDC screen = GetDC(nullptr);
    g_dc = CreateCompatibleDC(screen);
    g_bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    ReleaseDC(nullptr, screen);
    g_previous = SelectObject(g_dc, g_bitmap);
}

void PaintBackBuffer::Destroy() {
    if (!g_dc) return;
    SelectObject(g_dc, g_previous);
    DeleteObject(g_bitmap);
    DeleteDC(g_dc);
    g_dc = nullptr;
    g_bitmap = nullptr;
}

HDC PaintBackBuffer::DC() { return g_dc; }

}  // namespace skin
