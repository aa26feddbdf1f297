// libFuzzer target for what the engine reads from a client's output: the connect and install
// verdicts and the box's make. The client prints what the box says, so any text can arrive; the
// verdicts must be ones the page knows, and a box with an answer always gets a name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "adb/box_name.h"
#include "adb/command_set.h"
#include "base/box_address.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const uint32_t exitCode = data[0] | (data[1] << 8) | (data[2] << 16) | (uint32_t{data[3]} << 24);
    std::wstring output;
    for (size_t i = 4; i + 1 < size; i += 2) output += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));

    const int32_t connect = adb::ClassifyConnect(output);
    FUZZ_CHECK(connect == adb::NotConnected || connect == adb::Connected);
    const int32_t install = adb::ClassifyInstall(output, exitCode);
    FUZZ_CHECK(install == adb::Success || install == adb::AlreadyExists || install == adb::Failed ||
          install == adb::InvalidUri);
    FUZZ_CHECK(adb::BoxDisplayName(output).empty() == output.empty());

    const base::BoxAddress box = base::BoxFromText(output);
    if (box != base::kNoBox) FUZZ_CHECK(base::BoxFromText(base::BoxText(box)) == box);
    return 0;
}
