// Which of a frame's command bars a person fixed in place, kept with the frame's layout.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CXTPCommandBars;
class CXTPPropExchange;

namespace dvframe {

// Stores the ids of the fixed bars in section "FixedToolBars" of `px`, or loads them: every bar is
// freed first, then each bar whose id is listed is fixed again. An entry without an id fixes none.
void ExchangeFixedToolBars(CXTPPropExchange* px, CXTPCommandBars* bars);

} // namespace dvframe

DV_EXPORTS_END
