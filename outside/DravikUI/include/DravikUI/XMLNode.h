// The one place where the UI library names its XML engine. Definitions load from and store into
// nodes of this type; nothing else in the library's public headers knows the engine.
#pragma once

#include <pugixml.hpp>

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace Dravik::UI::XML {

using Node = pugi::xml_node;
using Document = pugi::xml_document;

} // namespace Dravik::UI::XML

DV_EXPORTS_END
