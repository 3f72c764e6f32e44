#include "DravikUI/Images.h"

#include "pal/path.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace Dravik::Images {

ResourceManager& ResourceManager::Instance() {
    static ResourceManager* manager = new ResourceManager;
    return *manager;
}

std::wstring ResourceManager::GetImageFolder() const {
    return pal::path::fromNative(pal::folders::programDir() / "Images");
}

std::wstring ResourceManager::GetImagePath(std::wstring_view name) const {
    if (name.empty() || pal::path::isAbsolute(name))
        return {};
    std::wstring portable(name);
    std::replace(portable.begin(), portable.end(), L'\\', L'/');
    const fs::path relative(portable);
    for (const fs::path& part : relative) {
        if (part == "..")
            return {};
    }
    const fs::path file = pal::folders::programDir() / "Images" / relative;
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return {};
    return pal::path::fromNative(file);
}

} // namespace Dravik::Images
