#include "docbrowser/DocumentsMenu.h"

#include <algorithm>

namespace DocumentsMenu {

namespace {

struct Installed {
    std::vector<std::wstring> names;
    std::vector<std::wstring> paths;
};

Installed& installed() {
    static Installed lists;
    return lists;
}

} // namespace

void GetInstalledConfigurations(std::vector<std::wstring>& names, std::vector<std::wstring>& paths) {
    names = installed().names;
    paths = installed().paths;
}

void SetInstalledConfigurations(std::vector<std::wstring> names, std::vector<std::wstring> paths) {
    // A name without its path (or the reverse) names nothing that can be opened.
    const std::size_t count = std::min(names.size(), paths.size());
    names.resize(count);
    paths.resize(count);
    installed() = {std::move(names), std::move(paths)};
}

} // namespace DocumentsMenu
