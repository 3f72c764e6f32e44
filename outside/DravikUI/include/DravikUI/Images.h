// The program's image folder ("Images" beside the program): the icons that the UI library and
// the program load by file name ("PauseExplodeAnimation.svg").
#pragma once

#include "pal/visibility.h"

#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace Dravik::Images {

class ResourceManager {
public:
    static ResourceManager& Instance();

    std::wstring GetImageFolder() const;
    // The full path of an image of the folder, or empty when the folder has no such file. A
    // name that would lead out of the folder ("..\x.svg", an absolute path) finds nothing.
    std::wstring GetImagePath(std::wstring_view name) const;

private:
    ResourceManager() = default;
};

} // namespace Dravik::Images

DV_EXPORTS_END
