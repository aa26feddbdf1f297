#pragma once
// Reading the PNG pictures the skin carries, free of the platform: 8-bit RGB or RGBA, not
// interlaced, as resources/skin/render-skin writes them. The pixels come out as the drawing wants
// them: 32 bits each (blue, green, red, alpha in memory order), top row first, colour multiplied by
// alpha as AlphaBlend takes it (each channel times alpha / 255, rounded, as GDI+ hands it out).
// Any other kind of PNG, or damaged data, is refused and left to the platform's decoder.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace skin {

struct PngSize {
    int32_t width = 0, height = 0;
    friend bool operator==(const PngSize&, const PngSize&) = default;
};

struct PngPicture {
    PngSize size;
    std::vector<uint32_t> pixels;  // width x height, rows top to bottom
};

// The size in the header of a PNG of the kind this reader takes.
std::optional<PngSize> ReadPngSize(const uint8_t* bytes, size_t length);

std::optional<PngPicture> ReadPng(const uint8_t* bytes, size_t length);

}  // namespace skin
