// The pictures of the kernel's commands in the image managers of the command bars.
#pragma once

#include "pal/visibility.h"

#include <string_view>

DV_EXPORTS_BEGIN

class CXTPImageManager;
class CXTPImageManagerVectorImageHandle;

namespace Dravik::UI {

// Puts the picture of every command of the kernel's catalogue into `images` under its id, from
// the dark set when `dark`. A command without a picture, or whose file does not read, gets the
// fallback glyph of its caption. An icon that is not a vector picture (an add-on's own) stays.
void LoadCommandIcons(CXTPImageManager& images, bool dark);

// The glyph of a command without a picture: a framed tile with the first letter or digit of
// its caption ("?" when it has none), in the inks of a light or a dark theme.
CXTPImageManagerVectorImageHandle FallbackCommandIcon(std::wstring_view caption, bool dark);

} // namespace Dravik::UI

DV_EXPORTS_END
