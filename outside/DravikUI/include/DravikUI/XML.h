// The UI library's XML layer: the product whose user-interface descriptions apply.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace Dravik::UI::XML {

// The product number of the edition (0 2D, 1 3D, 2 SE, 3 Alder, 4 Birch, 5 AlderAdministrator).
void SetProduct(int product);

} // namespace Dravik::UI::XML

DV_EXPORTS_END
