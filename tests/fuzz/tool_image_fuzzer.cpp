// libFuzzer target for the tool images the program carries (a size field and a deflate stream):
// a damaged image must be refused without reading past it or allocating what its size field
// claims, and a tool that unpacks and packs again must unpack to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/tool_image.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> tool;
    if (!app::InflateToolImage(data, size, tool)) {
        FUZZ_CHECK(tool.empty());
        return 0;
    }
    std::vector<uint8_t> image, again;
    if (!app::DeflateToolImage(tool, image)) return 0;  // a tool that does not shrink is not packed
    FUZZ_CHECK(app::InflateToolImage(image.data(), image.size(), again) && again == tool);
    return 0;
}
