// Pictures drawn into a memory DIB: frames, three-part and nine-part stretching, per-pixel alpha,
// pre-multiplied BMPs, files, icons and missing pictures. The test pictures' pixels encode their
// own coordinates (make_test_pictures.py), so each target pixel tells where it came from.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "skin_test_support.h"
#include "test_support/temp_dir.h"
#include "ui/skin/picture/som_bitmap.h"
#include "ui/skin/picture/som_bitmap_parts.h"

namespace {

using skin::CSomBitmap;
using skin_test::Canvas;
using skin_test::Near;
using skin_test::Rgb;

constexpr int kColumns = 31001, kGrid = 31002, kHalf = 31003, kStack = 31004;
constexpr int kHalfWhiteBmp = 31005, kOpaqueBmp = 31006;
constexpr COLORREF kMagenta = RGB(255, 0, 255);

Rgb ColumnsPixel(int x, int y) { return {10 * x + 5, 7 * y, 77}; }
Rgb GridPixel(int x, int y) { return {8 * x, 10 * y, 150}; }

// Column c of a target drawn from the columns picture came from source column SourceColumn(c).
void ExpectColumns(const Canvas& canvas, int left, int top, const std::vector<int>& sourceColumns) {
    for (size_t c = 0; c < sourceColumns.size(); ++c) {
        for (int y = 0; y < 23; ++y) {
            ASSERT_EQ(canvas.At(left + static_cast<int>(c), top + y), ColumnsPixel(sourceColumns[c], y))
                << "target column " << c << " row " << y;
        }
    }
}

// Every pixel of area must pass; pass gets coordinates relative to the area's corner.
template <class Pass>
void ExpectPixels(const Canvas& canvas, const RECT& area, Pass pass) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const Rgb p = canvas.At(x, y);
            ASSERT_TRUE(pass(x - area.left, y - area.top, p)) << p << " at " << x << "," << y;
        }
    }
}

void ExpectUntouched(const Canvas& canvas, const RECT& area) {
    ExpectPixels(canvas, area, [](int, int, Rgb p) { return p == skin_test::ToRgb(kMagenta); });
}

// The grid picture's pixels from (sx, sy) on, unscaled.
auto GridFrom(int sx, int sy) {
    return [sx, sy](int x, int y, Rgb p) { return p == GridPixel(sx + x, sy + y); };
}

// Writes a resource of the test program to a file. A BITMAP resource lacks the file header.
std::filesystem::path SaveResource(const std::filesystem::path& folder, int number, const wchar_t* type,
                                   const wchar_t* name) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(number), type);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    const DWORD size = SizeofResource(nullptr, found);
    const auto path = folder / name;
    std::ofstream file(path, std::ios::binary);
    if (type == RT_BITMAP) {
        const DWORD headerSize = reinterpret_cast<const BITMAPINFOHEADER*>(bytes)->biSize;
        BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + size), 0, 0,
                                static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + headerSize)};
        file.write(reinterpret_cast<const char*>(&header), sizeof(header));
    }
    file.write(bytes, size);
    return path;
}

TEST(ThreePartDrawing, KeepsBothEndsAndStretchesTheMiddleColumn) {
    skin::CSomBitmapHorizen3Part header(kColumns, 4, 2, 3);
    ASSERT_EQ(header.GetFrameWidth(), 5);
    ASSERT_EQ(header.GetFrameHeight(), 23);
    Canvas canvas(130, 30, kMagenta);
    header.DrawStretchWidth(canvas.dc(), 10, 3, 100, 2);
    // Frame 2 spans source x 10 to 15: 10-12 unscaled, 12-13 stretched to 96, 13-15 unscaled.
    std::vector<int> expected{10, 11};
    expected.insert(expected.end(), 96, 12);
    expected.insert(expected.end(), {13, 14});
    ExpectColumns(canvas, 10, 3, expected);
    ExpectUntouched(canvas, {0, 0, 10, 30});
    ExpectUntouched(canvas, {110, 0, 130, 30});
    ExpectUntouched(canvas, {10, 0, 110, 3});
    ExpectUntouched(canvas, {10, 26, 110, 30});
}

TEST(ThreePartDrawing, SkipsTheMiddleWhenTheTargetHoldsOnlyTheEnds) {
    skin::CSomBitmapHorizen3Part header(kColumns, 4, 2, 3);
    Canvas canvas(20, 30, kMagenta);
    header.DrawStretchWidth(canvas.dc(), 0, 0, 4, 1);
    ExpectColumns(canvas, 0, 0, {5, 6, 8, 9});
    ExpectUntouched(canvas, {4, 0, 20, 30});
}

TEST(ThreePartDrawing, ANarrowTargetGetsTheOuterEndsClippedToIt) {
    skin::CSomBitmapHorizen3Part header(kColumns, 4, 2, 3);
    Canvas canvas(20, 30, kMagenta);
    header.DrawStretchWidth(canvas.dc(), 5, 0, 3, 0);
    ExpectColumns(canvas, 5, 0, {0, 1, 4});
    ExpectUntouched(canvas, {0, 0, 5, 30});
    ExpectUntouched(canvas, {8, 0, 20, 30});

    canvas.Fill(kMagenta);
    header.DrawStretchWidth(canvas.dc(), 5, 0, 1, 0);
    ExpectColumns(canvas, 5, 0, {0});
    ExpectUntouched(canvas, {6, 0, 20, 30});
    ExpectUntouched(canvas, {0, 0, 5, 30});

    canvas.Fill(kMagenta);
    header.DrawStretchWidth(canvas.dc(), 5, 0, 0, 0);
    header.DrawStretchWidth(canvas.dc(), 5, 0, -3, 0);
    ExpectUntouched(canvas, {0, 0, 20, 30});
}

TEST(NinePartDrawing, KeepsTheCornersAndStretchesEdgesAndCentre) {
    skin::CSomBitmap9Part panel(kGrid, 1, 8, 22, 6, 18);
    Canvas canvas(90, 70, kMagenta);
    panel.Draw(canvas.dc(), 5, 5, 70, 50, 0);
    // Middle width 70 - 8 - 8 = 54, middle height 50 - 6 - 6 = 38.
    ExpectPixels(canvas, {5, 5, 13, 11}, GridFrom(0, 0));
    ExpectPixels(canvas, {67, 5, 75, 11}, GridFrom(22, 0));
    ExpectPixels(canvas, {5, 49, 13, 55}, GridFrom(0, 18));
    ExpectPixels(canvas, {67, 49, 75, 55}, GridFrom(22, 18));
    // Edges keep their fixed dimension: the top edge holds source rows 0-5 whatever column.
    ExpectPixels(canvas, {13, 5, 67, 11}, [](int, int y, Rgb p) { return p.g == 10 * y && p.r >= 64 && p.r <= 168; });
    // The centre comes from the source's centre only.
    ExpectPixels(canvas, {13, 11, 67, 49},
                 [](int, int, Rgb p) { return p.r >= 64 && p.r <= 168 && p.g >= 60 && p.g <= 170; });
    ExpectUntouched(canvas, {0, 0, 90, 5});
    ExpectUntouched(canvas, {75, 0, 90, 70});
    ExpectUntouched(canvas, {0, 55, 90, 70});
}

TEST(NinePartDrawing, AtItsOwnSizeReproducesThePicture) {
    skin::CSomBitmap9Part panel(kGrid, 1, 8, 22, 6, 18);
    Canvas canvas(30, 24, kMagenta);
    panel.Draw(canvas.dc(), 0, 0, 30, 24, 0);
    ExpectPixels(canvas, {0, 0, 30, 24}, GridFrom(0, 0));
}

TEST(NinePartDrawing, ASmallTargetShowsOnlyTheCornersWithoutSpill) {
    skin::CSomBitmap9Part panel(kGrid, 1, 8, 22, 6, 18);
    Canvas canvas(40, 40, kMagenta);
    panel.Draw(canvas.dc(), 10, 10, 6, 4, 0);
    EXPECT_EQ(canvas.At(10, 10), GridPixel(0, 0));
    EXPECT_EQ(canvas.At(12, 11), GridPixel(2, 1));
    EXPECT_EQ(canvas.At(15, 13), GridPixel(29, 23));
    EXPECT_EQ(canvas.At(13, 12), GridPixel(27, 22));
    ExpectUntouched(canvas, {0, 0, 40, 10});
    ExpectUntouched(canvas, {0, 14, 40, 40});
    ExpectUntouched(canvas, {0, 0, 10, 40});
    ExpectUntouched(canvas, {16, 0, 40, 40});
}

TEST(AlphaDrawing, BlendsAHalfTransparentPngPixelPremultiplied) {
    CSomBitmap half(kHalf, CSomBitmap::kPng);
    EXPECT_TRUE(half.HasAlpha());
    Canvas black(2, 1, RGB(0, 0, 0));
    half.DrawFrame(black.dc(), 0, 0, 0);
    EXPECT_TRUE(Near(black.At(0, 0), {100, 50, 0}, 1)) << black.At(0, 0);
    EXPECT_EQ(black.At(1, 0), (Rgb{0, 0, 255}));
    Canvas white(2, 1, RGB(255, 255, 255));
    half.DrawFrame(white.dc(), 0, 0, 0);
    EXPECT_TRUE(Near(white.At(0, 0), {227, 177, 127}, 2)) << white.At(0, 0);
}

TEST(AlphaDrawing, PremultipliesA32BitBmpWhenLoading) {
    CSomBitmap bmp(kHalfWhiteBmp, CSomBitmap::kBmp);
    EXPECT_TRUE(bmp.HasAlpha());
    Canvas black(2, 2, RGB(0, 0, 0));
    bmp.DrawFrame(black.dc(), 0, 0, 0);
    EXPECT_TRUE(Near(black.At(1, 1), {128, 128, 128}, 1)) << black.At(1, 1);
    Canvas white(2, 2, RGB(255, 255, 255));
    bmp.DrawFrame(white.dc(), 0, 0, 0);
    EXPECT_TRUE(Near(white.At(0, 0), {255, 255, 255}, 1)) << white.At(0, 0);
}

TEST(FrameDrawing, TakesStackedFramesFromTheirRows) {
    CSomBitmap stack(kStack, CSomBitmap::kPng, 4, true);
    ASSERT_EQ(stack.GetFrameWidth(), 12);
    ASSERT_EQ(stack.GetFrameHeight(), 20);
    Canvas canvas(12, 20, kMagenta);
    stack.DrawFrame(canvas.dc(), 0, 0, 3);  // source rectangle (0, 60, 12 x 20)
    ExpectPixels(canvas, {0, 0, 12, 20}, [](int x, int y, Rgb p) { return p == Rgb{190, y * 12, x * 20}; });
}

TEST(FrameDrawing, CopiesAndStretchesOpaqueBmpFramesWithoutAlpha) {
    CSomBitmap opaque(kOpaqueBmp, CSomBitmap::kBmp, 2);
    EXPECT_FALSE(opaque.HasAlpha());
    ASSERT_EQ(opaque.GetFrameWidth(), 3);
    Canvas canvas(12, 12, kMagenta);
    opaque.DrawFrame(canvas.dc(), 1, 1, 1);
    ExpectPixels(canvas, {1, 1, 4, 5}, [](int x, int y, Rgb p) { return p == Rgb{(3 + x) * 40, y * 60, 90}; });
    EXPECT_EQ(canvas.At(4, 1), skin_test::ToRgb(kMagenta));
    canvas.Fill(kMagenta);
    opaque.Draw(canvas.dc(), 0, 0, 6, 8, 0);  // frame 0 doubled
    EXPECT_TRUE(Near(canvas.At(0, 0), {0, 0, 90}, 12)) << canvas.At(0, 0);
    EXPECT_TRUE(Near(canvas.At(5, 7), {80, 180, 90}, 12)) << canvas.At(5, 7);
    EXPECT_EQ(canvas.At(6, 0), skin_test::ToRgb(kMagenta));
    canvas.Fill(kMagenta);
    opaque.DrawStretchWidth(canvas.dc(), 0, 0, 9, 1);  // its own height, three times as wide
    EXPECT_TRUE(Near(canvas.At(8, 3), {200, 180, 90}, 12)) << canvas.At(8, 3);
    EXPECT_EQ(canvas.At(0, 4), skin_test::ToRgb(kMagenta));
}

// Picture files other than BMP are flattened onto white when they are loaded.
TEST(PictureLoading, ReadsPngAndBmpFiles) {
    test_support::TempDir temp;
    CSomBitmap png(SaveResource(temp.path(), kHalf, L"PNG", L"half.png").wstring(), CSomBitmap::kPng);
    CSomBitmap bmp(SaveResource(temp.path(), kHalfWhiteBmp, RT_BITMAP, L"white.bmp").wstring(), CSomBitmap::kBmp);
    Canvas canvas(4, 2, RGB(0, 0, 0));
    png.DrawFrame(canvas.dc(), 0, 0, 0);
    bmp.DrawFrame(canvas.dc(), 2, 0, 0);
    EXPECT_TRUE(Near(canvas.At(0, 0), {227, 177, 127}, 2)) << canvas.At(0, 0);
    EXPECT_EQ(canvas.At(1, 0), (Rgb{0, 0, 255}));
    EXPECT_TRUE(Near(canvas.At(3, 1), {128, 128, 128}, 1)) << canvas.At(3, 1);
}

TEST(PictureLoading, AMissingPictureMeasuresZeroAndDrawsNothing) {
    CSomBitmap missing(39999, CSomBitmap::kPng, 4);
    CSomBitmap missingFile(std::wstring(L"Z:\\no\\such\\picture.png"), CSomBitmap::kPng);
    EXPECT_EQ(missing.GetFrameWidth(), 0);
    EXPECT_EQ(missing.GetFrameHeight(), 0);
    EXPECT_EQ(missing.GetFrameCount(), 0);
    EXPECT_FALSE(missing.HasAlpha());
    EXPECT_EQ(missingFile.GetFrameWidth(), 0);
    Canvas canvas(10, 10, kMagenta);
    missing.DrawFrame(canvas.dc(), 0, 0, 0);
    missing.Draw(canvas.dc(), 0, 0, 10, 10, 0);
    missingFile.DrawStretchWidth(canvas.dc(), 0, 0, 10, 0);
    ExpectUntouched(canvas, {0, 0, 10, 10});
}

TEST(PictureLoading, AZeroFrameCountMeansOneFrame) {
    CSomBitmap whole(kOpaqueBmp, CSomBitmap::kBmp, 0);
    EXPECT_EQ(whole.GetFrameWidth(), 6);
    EXPECT_EQ(whole.GetFrameCount(), 1);
}

TEST(IconDrawing, DrawsTheOwnersIconAtItsSizeWhateverTheFrame) {
    Canvas source(16, 16, RGB(30, 160, 90));
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HDC maskDC = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(maskDC, mask);
    PatBlt(maskDC, 0, 0, 16, 16, BLACKNESS);  // opaque everywhere
    SelectObject(maskDC, old);
    DeleteDC(maskDC);
    ICONINFO info{TRUE, 0, 0, mask, static_cast<HBITMAP>(GetCurrentObject(source.dc(), OBJ_BITMAP))};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    CSomBitmap picture(icon, 16, 16);
    EXPECT_EQ(picture.GetFrameWidth(), 16);
    Canvas canvas(40, 20, kMagenta);
    picture.DrawFrame(canvas.dc(), 20, 2, 5);
    EXPECT_EQ(canvas.At(20, 2), (Rgb{30, 160, 90}));
    EXPECT_EQ(canvas.At(35, 17), (Rgb{30, 160, 90}));
    EXPECT_EQ(canvas.At(19, 2), skin_test::ToRgb(kMagenta));
    EXPECT_EQ(canvas.At(36, 2), skin_test::ToRgb(kMagenta));
    DestroyIcon(icon);
    DeleteObject(mask);
}

}  // namespace
