// The standard controls' messages and notification header that dialogs and command routing
// use come from the Windows layer's controls part; the class library registers its classes
// before it makes a dialog.
#pragma once

#include "pal/visibility.h"
#include "windows.h"

DV_EXPORTS_BEGIN

namespace pal::mfc {

// Registers "Button", "Edit", "ListBox" and "Static" when they are not registered.
void registerStandardControls();

} // namespace pal::mfc

DV_EXPORTS_END
