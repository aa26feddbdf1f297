#pragma once
#include "discovery/subnet_selection.h"

namespace discovery {

// The platform's adapter list (GetAdaptersInfo), descriptions and addresses from the ANSI code page.
class CSystemAdapterList : public IAdapterList {
public:
    bool Read(std::vector<AdapterInfo>& adapters) override;
};

}  // namespace discovery
