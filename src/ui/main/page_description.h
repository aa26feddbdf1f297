#pragma once
// A page as data, free of the platform: which of its controls show, what their captions say and
// where they stand, and the pictures the window's backdrop lays under them. A page view
// (page_view.h) applies a description to real controls in one loop; the pages themselves are
// described in pages.h.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// Where a control or a backdrop picture goes, in the window's client area.
struct Placement {
    enum class Rule { Keep, At, Centred, AlignedWith };
    Rule rule = Rule::Keep;
    int32_t x = 0, y = 0;
    size_t anchor = 0;  // AlignedWith: the control of the same page whose left edge it takes

    static constexpr Placement At(int32_t x, int32_t y) { return {Rule::At, x, y, 0}; }
    // Centred across the client area.
    static constexpr Placement Centred(int32_t y) { return {Rule::Centred, 0, y, 0}; }
    static constexpr Placement AlignedWith(size_t anchor, int32_t y) { return {Rule::AlignedWith, 0, y, anchor}; }
    friend bool operator==(const Placement&, const Placement&) = default;
};

// What the device panel shows: the box's name over its address, and its badge.
struct PanelLook {
    std::wstring title, subtitle;
    int badge = 0;
    friend bool operator==(const PanelLook&, const PanelLook&) = default;
};

struct ControlLook {
    bool shown = false;
    Placement place;                      // Keep: it stays where it is
    std::optional<std::wstring> markup;   // a caption's new text
    std::optional<PanelLook> panel;
    std::optional<std::wstring> tip;      // a caption's tooltip, plain text (empty: none)
    friend bool operator==(const ControlLook&, const ControlLook&) = default;
};

// A skin picture (by resource number) under the controls, at its natural size.
struct LayerLook {
    int picture = 0;
    int frame = 0;
    Placement place;
    friend bool operator==(const LayerLook&, const LayerLook&) = default;
};

struct PageDescription {
    std::vector<ControlLook> controls;  // one for each control of the page, in the page's order
    std::vector<LayerLook> layers;      // drawn in this order
};

// What a page is made of: its controls in z-order (first on top), each a kind of control with its
// picture (pictures, animations) and the command it reports (the device panel).
enum class ControlKind { Text, Picture, Animation, Panel };
struct ControlSpec {
    ControlKind kind = ControlKind::Text;
    int picture = 0;
    int command = 0;
};

// A page whose tab is not selected: none of its controls shows, and nothing else about them changes.
PageDescription HiddenPage(size_t controls);

struct TopLeft {
    int32_t x = 0, y = 0;
    friend bool operator==(const TopLeft&, const TopLeft&) = default;
};

// Where a placement puts something `width` wide in a client area `clientWidth` wide; lefts holds
// the left edges the page's controls have now, those placed before it included. Nothing for Keep.
std::optional<TopLeft> Place(const Placement& place, int32_t width, int32_t clientWidth,
                             const std::vector<int32_t>& lefts);

}  // namespace ui
