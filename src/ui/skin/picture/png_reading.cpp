#include "ui/skin/picture/png_reading.h"

#include <zlib.h>

#include <cstring>
#include <string_view>

namespace skin {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Larger pictures than any skin picture by far, small enough that no size overflows.
constexpr int64_t kMaxPixels = int64_t{1} << 24;
constexpr int32_t kMaxSide = 1 << 14;

uint32_t BigEndian32(const uint8_t* at) {
    return uint32_t{at[0]} << 24 | uint32_t{at[1]} << 16 | uint32_t{at[2]} << 8 | at[3];
}

struct Header {
    PngSize size;
    int channels = 0;  // 3: RGB, 4: RGBA
};

// The header, when the picture is 8-bit RGB or RGBA, deflated, filtered the standard way and not
// interlaced.
std::optional<Header> ReadHeader(const uint8_t* bytes, size_t length) {
    if (length < 33 || std::memcmp(bytes, kSignature, 8) != 0) return std::nullopt;
    if (BigEndian32(bytes + 8) != 13 || std::memcmp(bytes + 12, "IHDR", 4) != 0) return std::nullopt;
    const uint8_t* ihdr = bytes + 16;
    const uint32_t width = BigEndian32(ihdr), height = BigEndian32(ihdr + 4);
    const uint8_t depth = ihdr[8], colour = ihdr[9], compression = ihdr[10], filter = ihdr[11], interlace = ihdr[12];
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
        int64_t{width} * height > kMaxPixels)
        return std::nullopt;
    if (depth != 8 || (colour != 2 && colour != 6) || compression != 0 || filter != 0 || interlace != 0)
        return std::nullopt;
    return Header{{static_cast<int32_t>(width), static_cast<int32_t>(height)}, colour == 6 ? 4 : 3};
}

// The IDAT chunks' data, joined; nothing when the chunks run past the end or IEND is missing.
std::optional<std::vector<uint8_t>> CompressedData(const uint8_t* bytes, size_t length) {
    std::vector<uint8_t> data;
    size_t at = 8;
    while (at + 12 <= length) {
        const uint32_t size = BigEndian32(bytes + at);
        const std::string_view kind(reinterpret_cast<const char*>(bytes + at + 4), 4);
        if (size > length - at - 12) return std::nullopt;
        const uint8_t* body = bytes + at + 8;
        if (kind == "IDAT") data.insert(data.end(), body, body + size);
        if (kind == "IEND") return data;
        at += 12 + size;
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> Inflate(const std::vector<uint8_t>& compressed, size_t expected) {
    std::vector<uint8_t> out(expected);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return std::nullopt;
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&stream, Z_FINISH);
    const bool whole = status == Z_STREAM_END && stream.avail_out == 0;
    inflateEnd(&stream);
    if (!whole) return std::nullopt;
    return out;
}

uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p, pb = p > b ? p - b : b - p, pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Undoes one row's filter in place, the row above already undone (zeros for the first row);
// false for an unknown filter type. The bytes of the pixel to the left, and above it, count as
// zero for the first pixel.
bool UnfilterRow(uint8_t type, uint8_t* row, const uint8_t* above, size_t stride, size_t bpp) {
    const auto add = [](uint8_t& byte, int predictor) { byte = static_cast<uint8_t>(byte + predictor); };
    switch (type) {
    case 0:
        return true;
    case 1:
        for (size_t i = bpp; i < stride; ++i) add(row[i], row[i - bpp]);
        return true;
    case 2:
        for (size_t i = 0; i < stride; ++i) add(row[i], above[i]);
        return true;
    case 3:
        for (size_t i = 0; i < stride; ++i) add(row[i], ((i >= bpp ? row[i - bpp] : 0) + above[i]) / 2);
        return true;
    case 4:
        for (size_t i = 0; i < stride; ++i)
            add(row[i], i >= bpp ? Paeth(row[i - bpp], above[i], above[i - bpp]) : above[i]);
        return true;
    default:
        return false;
    }
}

bool Unfilter(std::vector<uint8_t>& data, size_t stride, int32_t rows, int bpp) {
    const std::vector<uint8_t> none(stride, 0);
    const uint8_t* above = none.data();
    for (int32_t y = 0; y < rows; ++y) {
        uint8_t* line = data.data() + static_cast<size_t>(y) * (stride + 1);
        if (!UnfilterRow(line[0], line + 1, above, stride, static_cast<size_t>(bpp))) return false;
        above = line + 1;
    }
    return true;
}

uint32_t Premultiplied(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    const auto times = [a](uint8_t c) { return static_cast<uint32_t>((c * a + 127) / 255); };
    return uint32_t{a} << 24 | times(r) << 16 | times(g) << 8 | times(b);
}

}  // namespace

std::optional<PngSize> ReadPngSize(const uint8_t* bytes, size_t length) {
    const auto header = ReadHeader(bytes, length);
    if (!header) return std::nullopt;
    return header->size;
}

std::optional<PngPicture> ReadPng(const uint8_t* bytes, size_t length) {
    const auto header = ReadHeader(bytes, length);
    if (!header) return std::nullopt;
    const auto compressed = CompressedData(bytes, length);
    if (!compressed) return std::nullopt;
    const size_t stride = static_cast<size_t>(header->size.width) * header->channels;
    auto data = Inflate(*compressed, (stride + 1) * header->size.height);
    if (!data || !Unfilter(*data, stride, header->size.height, header->channels)) return std::nullopt;

    PngPicture picture{header->size, std::vector<uint32_t>(static_cast<size_t>(header->size.width) * header->size.height)};
    uint32_t* out = picture.pixels.data();
    for (int32_t y = 0; y < header->size.height; ++y) {
        const uint8_t* p = data->data() + static_cast<size_t>(y) * (stride + 1) + 1;
        if (header->channels == 3) {
            // Opaque: the colour stays as it is.
            for (int32_t x = 0; x < header->size.width; ++x, p += 3)
                *out++ = 0xFF000000u | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
        } else {
            for (int32_t x = 0; x < header->size.width; ++x, p += 4) *out++ = Premultiplied(p[0], p[1], p[2], p[3]);
        }
    }
    return picture;
}

}  // namespace skin
