// libFuzzer target for the version numbers an update descriptor offers: any text the server sends
// is read as four numbers or refused, what is read is written back the same, and no two versions
// are each newer than the other (an upgrade is never offered back and forth).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "update/update_rules.h"
#include "update/version_number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    const size_t cut = text.find(L'|');
    const std::wstring offered = text.substr(0, cut);
    const std::wstring local = cut == std::wstring::npos ? L"1.0.0.1" : text.substr(cut + 1);

    const auto version = update::ParseVersion(offered);
    if (version) {
        const auto again = update::ParseVersion(update::FormatVersion(*version));
        FUZZ_CHECK(again && *again == *version);
    }
    const bool newer = update::IsNewerVersion(offered, local);
    FUZZ_CHECK(!newer || version);
    if (version && update::ParseVersion(local)) FUZZ_CHECK(!(newer && update::IsNewerVersion(local, offered)));
    FUZZ_CHECK(!update::OffersUpgrade({offered, L"http://h/f.exe", {}, {}}, local) || newer);
    return 0;
}
