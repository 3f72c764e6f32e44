// What this process serves: registered class factories and active objects, with the
// listening sockets that make them reachable.
#pragma once

#include "win/com.h"

namespace pal::com::detail {

// The factory registered here for `clsid`, with a reference added, or null. `remote` marks
// a creation for another process, which ends a single-use registration's reachability.
IClassFactory* findClassFactory(REFCLSID clsid, bool remote);
// The active object registered here for `clsid`, with a reference added, or null.
IUnknown* findActiveObject(REFCLSID clsid);

} // namespace pal::com::detail
