// The icons of command-bar controls, for the paint manager: which icon a control shows, at what
// size, and whether its caption shows beside it.
#pragma once

#include "xtp/Controls.h"
#include "xtp/ImageManager.h"

namespace dv::toolkit {

// The control's icon from its bars' image manager and the size to draw it at: the popup icon
// size in a popup, else the bars' (large) icon size. Null when the control shows no icon.
CXTPImageManagerIcon* controlIcon(CXTPControl* pControl, CSize& size);
// Whether a control on a bar shows its caption: always without an icon; with one, only for the
// caption styles (a menu bar's automatic style included).
bool showsCaption(CXTPControl* pControl, bool hasIcon);
// The state the control's look asks of its icon.
XTPImageState iconState(CXTPControl* pControl, bool hot, bool pressed);

} // namespace dv::toolkit
