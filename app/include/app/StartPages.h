// The start pages that start-up opens when the settings ask for them.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

// Opens the start page (and the PDM work-mix page when the settings name it and it can be shown).
void OpenStartPages();

DV_EXPORTS_END
