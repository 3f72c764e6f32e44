// Classes that belong to the system rather than to a program: the standard controls and the
// dialog class. A layer above the window layer hands over the function that registers them; it
// runs at once and again whenever the window layer is cleared, so the classes are always there.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace pal::detail {

using ClassRegistrar = void (*)();
void addSystemClasses(ClassRegistrar registrar);

} // namespace pal::detail

DV_EXPORTS_END
