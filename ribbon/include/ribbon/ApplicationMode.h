// The edition/mode code of the running program: the mask of the default tool bars, the mode
// flags answered to the kernel, the edition name of installed add-ons and the splash caption
// all follow from it.
#pragma once

#include "pal/visibility.h"

#include <cstdint>

DV_EXPORTS_BEGIN

// The fixed edition code that start-up chose (16 GS, 32 GS3D, 128 Alder, 256 Birch,
// 512 AlderAdministrator) when it is non-zero; otherwise what the loaded modules make of the
// program: 8 full 3D modelling, 4 the solid-edit subset, 2 2D editing, 0 none of them.
std::uint32_t GetApplicationModeCode();

// Set once by start-up; 0 leaves the code to the loaded modules.
void SetFixedEditionCode(std::uint32_t code);
std::uint32_t GetFixedEditionCode();

DV_EXPORTS_END
