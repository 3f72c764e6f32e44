// The image manager of a list of files and folders: each path's icon is found once and kept,
// so that a long list made again and again looks nothing up twice.
#pragma once

#include "DravikUI/ImageManager.h"
#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class CachingImageManager : public Dravik::UI::ImageManager {
public:
    // The icon of a file (by its extension, SetExtensionIcon) or of a folder (its "icon.ico", else its
    // "library.svg"),
    // as an image id of this manager; -1 when it has none. Answers, found or not, are kept
    // until ForgetPaths.
    int GetIcon(const std::wstring& path);
};

DV_EXPORTS_END
