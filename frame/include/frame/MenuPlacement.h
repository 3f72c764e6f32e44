// Where add-on applications put their menu items and popups in a frame's menus: a placement
// record names a kind of place and a few group flags, and the searches here turn it into a
// collection and an index inside it.
#pragma once

#include "pal/visibility.h"

#include <cstdint>
#include <optional>
#include <string>

DV_EXPORTS_BEGIN

class CXTPControl;
class CXTPControls;
class CXTPMenuBar;
class CXTPRibbonBar;

namespace dvframe {

// The low byte of a placement record is its kind; the bits above are flags.
enum MenuPlacementKind : std::uint32_t {
    PlaceTopLevel = 0, // and every kind from 7 on
    PlaceBeforeAnchor = 1,
    PlaceAfterAnchor = 2,
    PlaceFirstBesideAnchor = 3,
    PlaceLastBesideAnchor = 4,
    PlaceInApiSamples = 5,
    PlaceInHelpPopup = 6,
};

enum MenuPlacementFlag : std::uint32_t {
    PlaceBeginsGroup = 0x100,
    PlaceFollowerBeginsGroup = 0x200,
    PlaceAtTopLevelHolder = 0x400,
    PlaceAtHolder = 0x800,
};

// The tag bit of the control that items of the help kind go before.
constexpr std::uintptr_t kHelpAnchorTag = 0x1000;

inline std::uint32_t PlacementKind(std::uint32_t placement) {
    return placement & 0xFF;
}

// A place in a collection; index -1 is its end.
struct MenuPlace {
    CXTPControls* controls = nullptr;
    int index = -1;
};

// The control with `anchorId`, depth first through popups, as the place its kind (1 to 4) asks
// for. A hit inside a popup is taken at the control holding the popup when the record asks so
// (0x800 one level up, then cleared in `placement`; 0x400 up to the top level).
std::optional<MenuPlace> FindAnchorPlace(CXTPControls* controls, int anchorId, std::uint32_t& placement);

// The control marked help among `controls`, each followed at once by its popup, depth first.
// With `freeControlsOnly` only the ribbon's right-aligned free controls and their popups count.
std::optional<MenuPlace> FindHelpPlace(CXTPControls* controls, bool freeControlsOnly = false);

// An index an add-on gave: one inside the collection stays, anything else is its end.
int ClampPosition(const CXTPControls* controls, int position);

// A button with `id` and `text` as caption, description and tooltip, at `place`, with the group
// flags of `placement`; null when it could not be added.
CXTPControl* AddMenuButton(const MenuPlace& place, int id, const std::wstring& text, std::uint32_t placement);
// Puts `control` at `place` with the group flags of `placement`.
CXTPControl* AddMenuControl(const MenuPlace& place, CXTPControl* control, const std::wstring& parameter,
                            std::uint32_t placement);

// Every control tagged with `key` (its parameter, any case), popups included, leaves `controls`.
// Returns how many were removed.
int RemoveControlsWithParameter(CXTPControls* controls, const std::wstring& key);

} // namespace dvframe

DV_EXPORTS_END
