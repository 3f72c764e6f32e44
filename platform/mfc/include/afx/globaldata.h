// The class library's drawing data shared by the windows of the process. The program lets go
// of it once, at the end, after its last window went.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

struct AFX_GLOBAL_DATA {
    // Frees the wrappers the class library made for drawing objects and device contexts it was
    // handed (FromHandle) on the calling thread. The objects themselves, and wrappers the
    // program made, belong to their makers and stay. Harmless to call again.
    void CleanUp();
};

AFX_GLOBAL_DATA* GetGlobalData();

DV_EXPORTS_END
