// How many of the kernel's commands have icons, and how many of the icons are drawn as vectors.
#pragma once

#include "pal/visibility.h"

#include <functional>
#include <string>

class CXTPImageManager;

DV_EXPORTS_BEGIN

namespace dvapp {

struct CommandStatistics {
    unsigned commands = 0;
    unsigned commandIcons = 0;
    unsigned commandVectorIcons = 0;
    unsigned icons = 0;
    unsigned vectorIcons = 0;
};

// Ids the customisation reserves and internal application commands, which are not the
// system's commands.
bool IsSpecialCommandId(unsigned id);

// The kernel's named commands (the special ids left out) against the icons of an image manager.
CommandStatistics CountCommandStatistics(const CXTPImageManager& images);
// Three lines: the commands, their icons, and all icons, the icons split into raster and vector.
std::wstring FormatCommandStatistics(const CommandStatistics& statistics);

} // namespace dvapp

DV_EXPORTS_END
