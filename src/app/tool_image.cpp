#include "app/tool_image.h"

#include <zlib.h>

#include <fstream>
#include <iterator>
#include <new>
#include <system_error>

namespace app {

namespace {

constexpr size_t kSizeField = 4;
// Deflate cannot expand data by more than about 1032:1; a size field beyond that is a lie, and
// believing it would mean allocating memory the stream can never fill.
constexpr uint64_t kMaxInflateRatio = 1032;

bool ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteNewFile(const std::filesystem::path& path, const uint8_t* data, size_t size) {
    bool ok = false;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        out.close();
        ok = !out.fail();
    }
    if (!ok) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    return ok;
}

std::filesystem::path WithSuffix(const std::filesystem::path& path, const wchar_t* suffix) {
    std::filesystem::path result = path;
    result += suffix;
    return result;
}

}  // namespace

bool InflateToolImage(const uint8_t* image, size_t length, std::vector<uint8_t>& out) {
    out.clear();
    if (!image || length <= kSizeField) return false;
    const uint32_t size = static_cast<uint32_t>(image[0]) | static_cast<uint32_t>(image[1]) << 8 |
                          static_cast<uint32_t>(image[2]) << 16 | static_cast<uint32_t>(image[3]) << 24;
    const size_t streamLength = length - kSizeField;
    // An empty tool is no tool: the packer never makes one, and starting it could only fail.
    if (size == 0 || size > streamLength * kMaxInflateRatio + 64) return false;

    std::vector<uint8_t> buffer;
    try {
        buffer.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }

    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return false;
    zs.next_in = const_cast<Bytef*>(image + kSizeField);
    zs.avail_in = static_cast<uInt>(streamLength);
    // One spare byte lets a stream longer than the size field show itself instead of stopping short.
    uint8_t spare = 0;
    zs.next_out = buffer.data();
    zs.avail_out = size;
    int rc = inflate(&zs, Z_FINISH);
    if (rc == Z_BUF_ERROR && zs.avail_out == 0 && zs.total_out == size) {
        zs.next_out = &spare;
        zs.avail_out = 1;
        rc = inflate(&zs, Z_FINISH);
    }
    const bool ok = rc == Z_STREAM_END && zs.total_out == size;
    inflateEnd(&zs);
    if (!ok) return false;
    out.swap(buffer);
    return true;
}

bool DeflateToolImage(const std::vector<uint8_t>& data, std::vector<uint8_t>& image) {
    image.clear();
    if (data.empty() || data.size() > UINT32_MAX) return false;
    std::vector<uint8_t> packed(data.size());
    uLongf packedSize = static_cast<uLongf>(packed.size());
    if (compress2(packed.data(), &packedSize, data.data(), static_cast<uLong>(data.size()), 9) != Z_OK)
        return false;
    const uint32_t size = static_cast<uint32_t>(data.size());
    image = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
             static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
    image.insert(image.end(), packed.begin(), packed.begin() + static_cast<ptrdiff_t>(packedSize));
    return true;
}

bool UnpackToolImage(const uint8_t* image, size_t length, const std::filesystem::path& destination) {
    std::vector<uint8_t> data;
    if (!InflateToolImage(image, length, data)) return false;
    return WriteNewFile(destination, data.data(), data.size());
}

std::filesystem::path PackFile(const std::filesystem::path& source) {
    std::vector<uint8_t> data, image;
    if (!ReadWholeFile(source, data) || !DeflateToolImage(data, image)) return {};
    const std::filesystem::path output = WithSuffix(source, L".zlib");
    if (!WriteNewFile(output, image.data(), image.size())) return {};
    return output;
}

std::filesystem::path UnpackFile(const std::filesystem::path& image) {
    std::vector<uint8_t> data;
    if (!ReadWholeFile(image, data)) return {};
    const std::filesystem::path output = WithSuffix(image, L".unzlib");
    if (!UnpackToolImage(data.data(), data.size(), output)) return {};
    return output;
}

}  // namespace app
