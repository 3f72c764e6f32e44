// Marking registry keys read-only, which no registry call can do. Nothing in a program calls it:
// it is the seam that the test-only hooks library (pal/test/system_hooks.h) is built on.
#pragma once

#include "pal/visibility.h"
#include "win/system/registry.h"

DV_EXPORTS_BEGIN

namespace pal::detail {

// For every process: opening the key for writing, writing its values, creating keys under it
// and deleting it then fail with ERROR_ACCESS_DENIED.
LSTATUS setRegistryKeyReadOnly(HKEY key, LPCWSTR subKey, bool readOnly);

} // namespace pal::detail

DV_EXPORTS_END
