// Hooks into the system layer for tests only; they live in dvpal_system_test_hooks, which
// product targets never link.
#pragma once

#include "win/system/registry.h"

#include <filesystem>

namespace pal::test {

// Marks a key read-only (or writable again) in the database, for every process: opening it
// for writing, writing its values, creating keys under it and deleting it then fail with
// ERROR_ACCESS_DENIED.
LSTATUS setRegistryKeyReadOnly(HKEY key, LPCWSTR subKey, bool readOnly);

// Makes `manifest` the version manifest asked first, for this process and its children (an
// empty path stops it). Lets a test give a module a wrong version without touching the build's
// manifest, which other tests read at the same time.
void useVersionManifest(const std::filesystem::path& manifest);

} // namespace pal::test
