// The pictures behind the image ids the browser's rows and headers name.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CXTPImageManager;

namespace DocumentsMenu {

// Configurations (4300, active 4309; of the PDM system 4380, 4381), groups (446), library
// folders (4302; missing 4307; a name borne twice 4310), drawings (40749) and the eye (shown
// 40753, hidden 40754, something hidden 40823); the light-on-dark set for dark themes.
void LoadBrowserIcons(CXTPImageManager& images, bool dark = false);
// The panel's bars: new (690), open (691) and PDM (1912) configuration, find (693), clear the
// find (696), columns (40780) and collapse all (497).
void LoadToolBarIcons(CXTPImageManager& images, bool dark = false);

} // namespace DocumentsMenu

DV_EXPORTS_END
