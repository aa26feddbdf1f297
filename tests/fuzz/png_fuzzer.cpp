// libFuzzer target for the skin's PNG reader. The pictures are the program's own resources, but a
// reader that trusts its input is one edit away from a crash: any bytes must be refused or read
// into exactly width x height pixels, and the size it reports alone must agree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_check.h"
#include "ui/skin/picture/png_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto picture = skin::ReadPng(data, size);
    const auto pictureSize = skin::ReadPngSize(data, size);
    if (!picture) return 0;
    FUZZ_CHECK(pictureSize && *pictureSize == picture->size);
    const auto pixels = static_cast<size_t>(picture->size.width) * static_cast<size_t>(picture->size.height);
    FUZZ_CHECK(picture->size.width > 0 && picture->size.height > 0 && picture->pixels.size() == pixels);
    return 0;
}
