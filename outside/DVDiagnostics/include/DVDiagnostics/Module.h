// The maker's outside modules, loaded by name and initialised, and shut down again.
//
// A module may export two C functions, both optional:
//     BOOL DravikModuleInitialize();   // FALSE refuses the load
//     void DravikModuleShutdown();
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

namespace Dravik {

class Module {
public:
    // Loads a module by its Windows name ("DV3DSE.dll") and initialises it. Null on failure,
    // with the last error: the loader's (ERROR_MOD_NOT_FOUND, ERROR_BAD_EXE_FORMAT), or
    // ERROR_DLL_INIT_FAILED when the module refused, in which case it is unloaded again.
    // `flags` is reserved and passed as 0.
    static HMODULE loadMfcAndInitialize(const wchar_t* name, int flags);
    // Shuts down and unloads one module of loadMfcAndInitialize. False for any other handle.
    static bool shutdownAndUnloadMfc(HMODULE module);
    // Shuts down and unloads every module still loaded, the last loaded first.
    static void shutdownAll();
};

} // namespace Dravik

DV_EXPORTS_END
