#include "pal/test/system_hooks.h"

#include "pal/detail/registry_control.h"

#include <cstdlib>

namespace pal::test {

LSTATUS setRegistryKeyReadOnly(HKEY key, LPCWSTR subKey, bool readOnly) {
    return detail::setRegistryKeyReadOnly(key, subKey, readOnly);
}

// The loader reads the manifest's name from the environment, which children inherit.
void useVersionManifest(const std::filesystem::path& manifest) {
    if (manifest.empty())
        ::unsetenv("DV_VERSION_MANIFEST");
    else
        ::setenv("DV_VERSION_MANIFEST", manifest.c_str(), 1);
}

} // namespace pal::test
