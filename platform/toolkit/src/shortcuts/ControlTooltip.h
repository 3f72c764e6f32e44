// The tip a command-bar control shows: its tooltip, with the command's shortcut after it when
// the bars' options ask for shortcut keys in tips.
#pragma once

#include "xtp/Controls.h"

namespace dv::toolkit {

CString tooltipOf(CXTPControl* pControl);

} // namespace dv::toolkit
