// The image lists among the UI module's resources: each gives a set of command ids their icons,
// as the tool bars and the panes show them.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <vector>

DV_EXPORTS_BEGIN

class CXTPImageManager;

namespace Dravik::UI {

// The icons of the main frame's docking panes, under the ids of the commands that show them.
constexpr UINT kPaneIconsResource = 1244;

// Puts the icons of an image list into `images` under their command ids; false (nothing put)
// for an id the module has no image list of.
bool LoadImageListResource(UINT resourceId, CXTPImageManager& images);
// The command ids of an image list; empty for an unknown one.
std::vector<UINT> GetImageListCommands(UINT resourceId);

} // namespace Dravik::UI

DV_EXPORTS_END
