// The shell's named commands, registered with the kernel once per session for the edition.
#pragma once

#include "pal/visibility.h"

#include <cstdint>

DV_EXPORTS_BEGIN

void RegisterSystemCommands(std::uint32_t editionMask);

DV_EXPORTS_END
