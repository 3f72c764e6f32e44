// The window that answers the shell's DDE conversation when the program is started to open a
// file by DDE.
#pragma once

#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class ShellDDERespondWindow {
public:
    // Takes the pending DDE command (empty when none is pending).
    static std::wstring GetShellCommand();
};

DV_EXPORTS_END
