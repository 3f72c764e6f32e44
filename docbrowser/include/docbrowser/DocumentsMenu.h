// The documents browser's global configuration group: the library configurations the browser
// shows. The application's library-configuration commands work on it.
#pragma once

#include "pal/visibility.h"

#include <cstddef>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace DocumentsMenu {

class ConfigurationGroup {
public:
    struct Configuration {
        std::wstring filePath;
    };

    std::size_t GetCount() const { return configurations_.size(); }
    // The configuration at an index, or null.
    const Configuration* GetAt(std::size_t index) const {
        return index < configurations_.size() ? &configurations_[index] : nullptr;
    }

private:
    std::vector<Configuration> configurations_;
};

// The browser's global configuration group; empty until configurations are opened.
ConfigurationGroup& GlobalCfgGroup();

} // namespace DocumentsMenu

DV_EXPORTS_END
