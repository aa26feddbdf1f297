#include "ui/main/page_description.h"

namespace ui {

PageDescription HiddenPage(size_t controls) {
    PageDescription page;
    page.controls.resize(controls);
    return page;
}

std::optional<TopLeft> Place(const Placement& place, int32_t width, int32_t clientWidth,
                             const std::vector<int32_t>& lefts) {
    switch (place.rule) {
    case Placement::Rule::At:
        return TopLeft{place.x, place.y};
    case Placement::Rule::Centred:
        return TopLeft{(clientWidth - width) / 2, place.y};
    case Placement::Rule::AlignedWith:
        return TopLeft{place.anchor < lefts.size() ? lefts[place.anchor] : 0, place.y};
    case Placement::Rule::Keep:
        break;
    }
    return std::nullopt;
}

}  // namespace ui
