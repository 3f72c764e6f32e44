// The XML nodes and documents that definitions load from and store into: the system's one XML
// wrapper.
#pragma once

#include "pal/visibility.h"
#include "pal/xml.h"

DV_EXPORTS_BEGIN

namespace Dravik::UI::XML {

using Node = pal::xml::Node;
using Document = pal::xml::Document;

} // namespace Dravik::UI::XML

DV_EXPORTS_END
