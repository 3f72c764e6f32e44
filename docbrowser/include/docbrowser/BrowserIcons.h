// The pictures behind the image ids the browser's rows and headers name.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CXTPImageManager;

namespace DocumentsMenu {

// Configurations (4300, active 4309; of the PDM system 4380, 4381), groups (446), library
// folders (4302; missing 4307; a name borne twice 4310), drawings (40749) and the eye (shown
// 40753, hidden 40754, something hidden 40823).
void LoadBrowserIcons(CXTPImageManager& images);

} // namespace DocumentsMenu

DV_EXPORTS_END
