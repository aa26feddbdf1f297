// libFuzzer target for the readers of what a box prints about its apps (package lists, package
// dumps, launcher queries, paths and sizes, in one sectioned output). A box may print anything:
// no app the tab lists may carry a package name or an APK path that could leave its quoting on a
// command line, and the size commands made from the listing keep to their length.
#include <cstddef>
#include <cstdint>
#include <string>

#include "adb/app_listing.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));

    const std::vector<adb::InstalledApp> apps = adb::ReadListing(text);
    for (const adb::InstalledApp& app : apps) {
        FUZZ_CHECK(adb::IsPackageName(app.package));
        for (const std::wstring& path : app.apkPaths) FUZZ_CHECK(adb::IsSafeRemotePath(path));
    }
    constexpr size_t kMaxLength = 900;
    for (const std::wstring& command : adb::SizeCommands(apps, kMaxLength)) {
        FUZZ_CHECK(!command.empty() && command.size() <= kMaxLength);
    }
    adb::ParsePackagePaths(text);  // export passes each path through IsSafeRemotePath
    adb::ParseSizes(text);
    return 0;
}
