// The process-wide skin against the program's real pictures: every entry by resource number with
// its frame layout, frames that are the cells of their picture, the window background drawn
// nine-part with its corners unscaled, and the ten caption fonts.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "skin_test_support.h"
#include "ui/skin/paint/skin_resources.h"
#include "ui/skin/picture/picture_loading.h"

namespace {

using skin::CSomBitmap;
using skin::Skin;
using skin_test::Canvas;

struct Entry {
    int resource, frames, frameWidth, frameHeight;
    bool vertical;
};

constexpr Entry kTable[] = {
    {10001, 1, 900, 600, false}, {10006, 4, 2, 30, false},   {10014, 2, 80, 83, false},
    {10015, 1, 56, 56, false},   {10016, 1, 56, 56, false},  {10017, 1, 56, 56, false},
    {10018, 1, 48, 48, false},   {10026, 1, 254, 110, false}, {10027, 1, 254, 110, false},
    {10028, 1, 254, 110, false}, {10025, 2, 15, 10, false},  {10029, 1, 67, 64, false},
    {10030, 1, 598, 238, false}, {10031, 1, 111, 96, false}, {10033, 1, 111, 96, false},
    {10032, 8, 70, 70, false},   {10034, 1, 33, 33, false},  {10022, 3, 178, 69, false},
    {10002, 12, 15, 15, false},  {10003, 8, 15, 15, false},  {10012, 4, 26, 22, false},
    {10013, 4, 72, 28, false},   {10023, 4, 26, 22, false},  {10024, 4, 26, 22, false},
    {10019, 8, 30, 30, false},   {10020, 1, 74, 74, false},  {10004, 4, 5, 23, false},
    {10005, 2, 7, 4, false},     {10007, 4, 12, 20, true},   {10008, 4, 12, 17, true},
    {10009, 4, 12, 17, true},    {10010, 4, 12, 30, true},   {10011, 4, 6, 9, true},
};

void ExpectSamePixels(const Canvas& a, const Canvas& b, const RECT& inA, int bx, int by) {
    for (int y = inA.top; y < inA.bottom; ++y) {
        for (int x = inA.left; x < inA.right; ++x)
            ASSERT_EQ(a.At(x, y), b.At(bx + x - inA.left, by + y - inA.top)) << x << "," << y;
    }
}

TEST(SkinResources, HoldsEveryPictureWithItsFrameLayout) {
    ASSERT_NE(Skin(), nullptr);
    EXPECT_EQ(Skin()->bitmaps.size(), std::size(kTable));
    for (const Entry& e : kTable) {
        SCOPED_TRACE(e.resource);
        CSomBitmap* bitmap = Skin()->Bitmap(e.resource);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->GetFrameCount(), e.frames);
        EXPECT_EQ(bitmap->GetFrameWidth(), e.frameWidth);
        EXPECT_EQ(bitmap->GetFrameHeight(), e.frameHeight);
        EXPECT_TRUE(bitmap->HasAlpha());  // GDI+ hands out 32-bit bitmaps
    }
    EXPECT_EQ(Skin()->Bitmap(10021), nullptr);  // carried, but no skin picture
    EXPECT_EQ(Skin()->Bitmap(0), nullptr);
}

// A picture's pixels, top row first, 32 bits each.
std::vector<uint32_t> Pixels(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    width = info.bmWidth;
    height = info.bmHeight;
    BITMAPINFO format{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// What GDI+ makes of a PNG resource, as the program loaded its pictures before it read them itself.
HBITMAP DecodedByGdiplus(int resource) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resource), L"PNG");
    const DWORD size = SizeofResource(module, found);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(block), LockResource(LoadResource(module, found)), size);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(block, TRUE, &stream);
    HBITMAP bitmap = nullptr;
    std::unique_ptr<Gdiplus::Bitmap>(Gdiplus::Bitmap::FromStream(stream))->GetHBITMAP(Gdiplus::Color(0), &bitmap);
    stream->Release();
    return bitmap;
}

// The skin reads its pictures itself, and every pixel is what GDI+ would have handed out.
TEST(SkinResources, PicturesReadAsGdiplusReadsThem) {
    for (const Entry& e : kTable) {
        SCOPED_TRACE(e.resource);
        HBITMAP own = skin::LoadPngResource(e.resource), gdiplus = DecodedByGdiplus(e.resource);
        ASSERT_TRUE(own && gdiplus);
        BITMAP info{};
        GetObjectW(own, sizeof(info), &info);
        EXPECT_EQ(info.bmBitsPixel, 32);
        int width = 0, height = 0, gdiplusWidth = 0, gdiplusHeight = 0;
        const std::vector<uint32_t> ownPixels = Pixels(own, width, height);
        const std::vector<uint32_t> gdiplusPixels = Pixels(gdiplus, gdiplusWidth, gdiplusHeight);
        EXPECT_EQ(width, gdiplusWidth);
        EXPECT_EQ(height, gdiplusHeight);
        size_t differing = 0;
        for (size_t i = 0; i < ownPixels.size() && i < gdiplusPixels.size(); ++i) differing += ownPixels[i] != gdiplusPixels[i];
        EXPECT_EQ(differing, 0u);
        DeleteObject(own);
        DeleteObject(gdiplus);
    }
}

// Each frame drawn alone equals its cell of the whole picture drawn in one piece.
TEST(SkinResources, FramesAreTheCellsOfTheirPicture) {
    for (const Entry& e : kTable) {
        if (e.frames == 1) continue;
        SCOPED_TRACE(e.resource);
        CSomBitmap whole(e.resource, CSomBitmap::kPng);
        const int width = whole.GetFrameWidth(), height = whole.GetFrameHeight();
        Canvas all(width, height, RGB(255, 0, 255));
        whole.DrawFrame(all.dc(), 0, 0, 0);
        Canvas one(e.frameWidth, e.frameHeight, RGB(255, 0, 255));
        for (int frame = 0; frame < e.frames; ++frame) {
            one.Fill(RGB(255, 0, 255));
            Skin()->Bitmap(e.resource)->DrawFrame(one.dc(), 0, 0, frame);
            const int left = e.vertical ? 0 : frame * e.frameWidth;
            const int top = e.vertical ? frame * e.frameHeight : 0;
            const RECT cell{left, top, left + e.frameWidth, top + e.frameHeight};
            ExpectSamePixels(all, one, cell, 0, 0);
        }
    }
}

// The background's fixed borders: left 30, right part from x 336, top 40, bottom part from y 93.
TEST(SkinResources, TheWindowBackgroundKeepsItsCornersUnscaled) {
    CSomBitmap plain(10001, CSomBitmap::kPng);
    Canvas picture(900, 600, RGB(255, 0, 255));
    plain.DrawFrame(picture.dc(), 0, 0, 0);
    for (const SIZE size : {SIZE{900, 600}, SIZE{1100, 700}}) {
        SCOPED_TRACE(size.cx);
        const int w = size.cx, h = size.cy;
        Canvas drawn(w, h, RGB(255, 0, 255));
        Skin()->Bitmap(10001)->Draw(drawn.dc(), 0, 0, w, h, 0);
        ExpectSamePixels(drawn, picture, {0, 0, 30, 40}, 0, 0);
        ExpectSamePixels(drawn, picture, {w - 564, 0, w, 40}, 336, 0);
        ExpectSamePixels(drawn, picture, {0, h - 507, 30, h}, 0, 93);
        ExpectSamePixels(drawn, picture, {w - 564, h - 507, w, h}, 336, 93);
        // At its own size the middle is not scaled either.
        if (w == 900) ExpectSamePixels(drawn, picture, {0, 0, 900, 600}, 0, 0);
    }
}

TEST(SkinFonts, AreTenYaHeiFontsAtTheTableHeightsAndWeights) {
    LOGFONTW gui{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui);
    const int heights[] = {12, 12, 14, 14, 16, 16, 18, 18, 24, 24};
    for (int slot = 0; slot < 10; ++slot) {
        SCOPED_TRACE(slot);
        HFONT font = Skin()->fonts.Handle(slot);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(Skin()->fonts.SlotFont(slot), font);
        LOGFONTW made{};
        GetObjectW(font, sizeof(made), &made);
        EXPECT_STREQ(made.lfFaceName, L"微软雅黑");
        EXPECT_EQ(made.lfHeight, -heights[slot]);
        EXPECT_EQ(made.lfWeight, slot == 0 ? gui.lfWeight : slot % 2 ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(made.lfCharSet, gui.lfCharSet);
        EXPECT_EQ(made.lfQuality, gui.lfQuality);
    }
    EXPECT_EQ(Skin()->fonts.Handle(10), nullptr);
    EXPECT_EQ(Skin()->fonts.Handle(-1), nullptr);
}

// The face is mapped to a font that has Chinese glyphs: they are not all the same box.
TEST(SkinFonts, DrawChineseGlyphs) {
    Canvas canvas(200, 40, RGB(255, 255, 255));
    SelectObject(canvas.dc(), Skin()->fonts.Handle(5));
    WORD glyphs[3] = {};
    EXPECT_EQ(GetGlyphIndicesW(canvas.dc(), L"盒子装", 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 3u);
    for (WORD glyph : glyphs) EXPECT_NE(glyph, 0xFFFF);
    EXPECT_NE(glyphs[0], glyphs[1]);
}

}  // namespace
