// The shell's named commands, registered with the kernel once per session for the edition.
#pragma once

#include <cstdint>
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

void RegisterSystemCommands(std::uint32_t editionMask);

DV_EXPORTS_END
