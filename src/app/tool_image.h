#pragma once
// The stored form of an embedded tool file: a 32-bit little-endian size n followed by one zlib
// stream that inflates to exactly n bytes (level 9, header 78 DA).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace app {

// Inflates an image into out. False (out left empty) for a missing or short image, a corrupt or
// truncated stream, or a stream whose length differs from the size field.
bool InflateToolImage(const uint8_t* image, size_t length, std::vector<uint8_t>& out);

// Compresses data at level 9 into an image. False when the stream would not be smaller than data.
bool DeflateToolImage(const std::vector<uint8_t>& data, std::vector<uint8_t>& image);

// Inflates an image into a new file at destination (replacing one that is there). On any failure
// no file is left behind.
bool UnpackToolImage(const uint8_t* image, size_t length, const std::filesystem::path& destination);

// Turns any file into an image beside it (path + ".zlib"); empty path on failure.
std::filesystem::path PackFile(const std::filesystem::path& source);

// Inflates an image file beside it (path + ".unzlib"); empty path on failure.
std::filesystem::path UnpackFile(const std::filesystem::path& image);

}  // namespace app
