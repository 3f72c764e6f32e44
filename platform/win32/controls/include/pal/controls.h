// The standard controls' classes ("Button", "Edit", "ListBox", "Static" and the dialog class)
// are registered on first use by the dialogs of this library; a program that creates the
// controls itself registers them first.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace pal::controls {

// Registers the classes that are not registered yet; safe to call at any time.
void registerClasses();

} // namespace pal::controls

DV_EXPORTS_END
