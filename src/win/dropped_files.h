#pragma once
// The names of the files in a drop, however long: each name's length is asked for first, so a
// path of MAX_PATH characters or more comes whole instead of cut.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace win {

// The first `most` names of the drop, in drop order.
std::vector<std::wstring> DroppedFileNames(HDROP drop, size_t most);

}  // namespace win
