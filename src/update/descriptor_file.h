#pragma once
// The update descriptor as the update server sends it: an INI file whose section "main" holds
// "version", "url", "sha256" and "sig". Keys it lacks read as empty.
#include <string>

#include "update/update_rules.h"

namespace update {

UpdateDescriptor ReadUpdateDescriptor(const std::wstring& path);

}  // namespace update
