// The skin's own PNG reader: every filter of 8-bit RGB and RGBA pictures, colour multiplied by
// alpha as drawing wants it, and a clean refusal of every other kind of PNG and of damaged data.
#include "ui/skin/picture/png_reading.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using skin::PngSize;

void Put32(Bytes& out, uint32_t value) {
    for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<uint8_t>(value >> shift));
}

void Chunk(Bytes& out, const char* kind, const Bytes& data) {
    Put32(out, static_cast<uint32_t>(data.size()));
    Bytes body(kind, kind + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

struct Options {
    uint8_t depth = 8, colour = 6, interlace = 0;
    bool iend = true;
};

// A PNG of width x height whose rows (filter byte included) are given raw.
Bytes MakePng(uint32_t width, uint32_t height, const Bytes& rows, Options options = {}) {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    Put32(header, width);
    Put32(header, height);
    for (uint8_t b : {options.depth, options.colour, uint8_t{0}, uint8_t{0}, options.interlace}) header.push_back(b);
    Chunk(png, "IHDR", header);
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    Bytes packed(size);
    compress2(packed.data(), &size, rows.data(), static_cast<uLong>(rows.size()), 9);
    packed.resize(size);
    // Split in two chunks: the reader joins them.
    const size_t half = packed.size() / 2;
    Chunk(png, "IDAT", Bytes(packed.begin(), packed.begin() + half));
    Chunk(png, "tEXt", Bytes{'k', 0, 'v'});
    Chunk(png, "IDAT", Bytes(packed.begin() + half, packed.end()));
    if (options.iend) Chunk(png, "IEND", {});
    return png;
}

// Rows of pixels (RGBA), each row filtered with `filter` the way an encoder would.
Bytes Filtered(const std::vector<Bytes>& pixelRows, uint8_t filter, int bpp) {
    Bytes out;
    Bytes above(pixelRows[0].size(), 0);
    for (const Bytes& row : pixelRows) {
        out.push_back(filter);
        for (size_t i = 0; i < row.size(); ++i) {
            const int left = i >= static_cast<size_t>(bpp) ? row[i - bpp] : 0;
            const int up = above[i];
            const int corner = i >= static_cast<size_t>(bpp) ? above[i - bpp] : 0;
            int predictor = 0;
            if (filter == 1) predictor = left;
            if (filter == 2) predictor = up;
            if (filter == 3) predictor = (left + up) / 2;
            if (filter == 4) {
                const int p = left + up - corner, pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - corner);
                predictor = pa <= pb && pa <= pc ? left : pb <= pc ? up : corner;
            }
            out.push_back(static_cast<uint8_t>(row[i] - predictor));
        }
        above = row;
    }
    return out;
}

// A 5 x 3 RGBA picture with a pattern in every channel; pixel (x, y) = (r, g, b, a).
std::vector<Bytes> Pattern(int channels) {
    std::vector<Bytes> rows;
    for (int y = 0; y < 3; ++y) {
        Bytes row;
        for (int x = 0; x < 5; ++x) {
            row.push_back(static_cast<uint8_t>(40 * x + 7 * y));
            row.push_back(static_cast<uint8_t>(250 - 30 * x));
            row.push_back(static_cast<uint8_t>(13 * x * y));
            if (channels == 4) row.push_back(static_cast<uint8_t>(x == 0 ? 255 : 60 * x + y));
        }
        rows.push_back(row);
    }
    return rows;
}

uint32_t Expected(const Bytes& row, int x, int channels) {
    const uint32_t r = row[x * channels], g = row[x * channels + 1], b = row[x * channels + 2];
    const uint32_t a = channels == 4 ? row[x * channels + 3] : 255;
    return a << 24 | (r * a + 127) / 255 << 16 | (g * a + 127) / 255 << 8 | (b * a + 127) / 255;
}

TEST(PngReading, EveryFilterOfRgbaAndRgbPictures) {
    for (int channels : {4, 3}) {
        const auto rows = Pattern(channels);
        for (uint8_t filter = 0; filter <= 4; ++filter) {
            SCOPED_TRACE("channels " + std::to_string(channels) + " filter " + std::to_string(filter));
            const Bytes png = MakePng(5, 3, Filtered(rows, filter, channels), {8, static_cast<uint8_t>(channels == 4 ? 6 : 2)});
            const auto picture = skin::ReadPng(png.data(), png.size());
            ASSERT_TRUE(picture);
            EXPECT_EQ(picture->size, (PngSize{5, 3}));
            ASSERT_EQ(picture->pixels.size(), 15u);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 5; ++x)
                    EXPECT_EQ(picture->pixels[y * 5 + x], Expected(rows[y], x, channels)) << x << "," << y;
        }
    }
}

TEST(PngReading, ColourIsMultipliedByAlphaAndRounded) {
    const Bytes rows{0, 255, 255, 255, 128, 91, 90, 128, 140, 10, 20, 30, 0};
    const Bytes png = MakePng(3, 1, rows);
    const auto picture = skin::ReadPng(png.data(), png.size());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pixels[0], 0x80808080u);  // 255 at alpha 128
    EXPECT_EQ(picture->pixels[1], 0x8C323146u);  // 91, 90, 128 at alpha 140: 49.96, 49.41, 70.27
    EXPECT_EQ(picture->pixels[2], 0x00000000u);  // see-through: no colour left
}

TEST(PngReading, TheSizeComesFromTheHeaderAlone) {
    Bytes png = MakePng(5, 3, Filtered(Pattern(4), 0, 4));
    png.resize(33);  // the header and nothing more
    EXPECT_EQ(skin::ReadPngSize(png.data(), png.size()), (PngSize{5, 3}));
    EXPECT_FALSE(skin::ReadPng(png.data(), png.size()));
}

TEST(PngReading, OtherKindsAreLeftToThePlatform) {
    const Bytes rows = Filtered(Pattern(4), 0, 4);
    for (const Options& kind : {Options{16, 6, 0, true}, Options{8, 3, 0, true}, Options{8, 0, 0, true},
                                Options{8, 6, 1, true}, Options{8, 6, 0, false}}) {
        const Bytes png = MakePng(5, 3, rows, kind);
        EXPECT_FALSE(skin::ReadPng(png.data(), png.size()))
            << int(kind.depth) << " " << int(kind.colour) << " " << int(kind.interlace) << " " << kind.iend;
    }
    // Too large to be a skin picture.
    const Bytes huge = MakePng(1 << 15, 1, Bytes(1 + (size_t{1} << 17), 0));
    EXPECT_FALSE(skin::ReadPngSize(huge.data(), huge.size()));
}

TEST(PngReading, DamagedDataIsRefused) {
    const Bytes good = MakePng(5, 3, Filtered(Pattern(4), 4, 4));
    ASSERT_TRUE(skin::ReadPng(good.data(), good.size()));
    // Every truncation, and a flipped bit anywhere, ends in a refusal or in a picture of the right
    // size, never in a read past the data (the sanitizers watch).
    for (size_t length = 0; length < good.size(); ++length) EXPECT_FALSE(skin::ReadPng(good.data(), length)) << length;
    for (size_t at = 0; at < good.size(); ++at) {
        Bytes bad = good;
        bad[at] ^= 0x10;
        if (const auto picture = skin::ReadPng(bad.data(), bad.size())) {
            EXPECT_EQ(picture->pixels.size(), static_cast<size_t>(picture->size.width) * picture->size.height);
        }
    }
    // Too little or too much image data, and an unknown filter.
    const Bytes shorter = MakePng(5, 4, Filtered(Pattern(4), 0, 4));
    EXPECT_FALSE(skin::ReadPng(shorter.data(), shorter.size()));
    Bytes longer = Filtered(Pattern(4), 0, 4);
    longer.push_back(0);
    const Bytes extra = MakePng(5, 3, longer);
    EXPECT_FALSE(skin::ReadPng(extra.data(), extra.size()));
    Bytes unknown = Filtered(Pattern(4), 0, 4);
    unknown[0] = 5;
    const Bytes badFilter = MakePng(5, 3, unknown);
    EXPECT_FALSE(skin::ReadPng(badFilter.data(), badFilter.size()));
}

}  // namespace
