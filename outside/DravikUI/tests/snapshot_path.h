// Where the tests of this library save the pictures a person looks at: the folder that
// DV_PAL_SNAPSHOTS names when it is set, else the test's sandbox.
#pragma once

#include "pal/sandbox.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace dvui::test {

inline std::filesystem::path snapshotPath(const std::string& name) {
    const char* folder = std::getenv("DV_PAL_SNAPSHOTS");
    const std::filesystem::path dir =
        folder && *folder ? std::filesystem::path(folder) : pal::sandbox::root();
    std::filesystem::create_directories(dir);
    return dir / (name + ".png");
}

} // namespace dvui::test
