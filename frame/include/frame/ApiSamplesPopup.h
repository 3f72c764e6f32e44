// The menu popup under which applications put their own menu items and popups.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CXTPCommandBar;
class CXTPControls;
class CXTPMenuBar;

namespace dvframe {

// The popup's parameter, compared without regard to case.
inline constexpr const wchar_t* kApiSamplesParameter = L"APISamples";
// The command beside which the popup is made.
constexpr int kApiSamplesAnchorCommand = 1790;
constexpr unsigned kApiSamplesCaptionId = 41932;

// The popup's bar: the first popup found in `controls` (depth first), or, when `create` is set,
// a new one put into the collection of the main menu bar that holds the anchor command. Null when
// there is none and none can be made.
CXTPCommandBar* FindApiSamplesPopup(CXTPControls* controls, CXTPMenuBar* mainMenuBar, bool create);

} // namespace dvframe

DV_EXPORTS_END
