// The shell's named commands, registered with the kernel once per session for the edition.
#pragma once

#include <cstdint>

void RegisterSystemCommands(std::uint32_t editionMask);
