// Private: one control definition put into any collection (a bar, a ribbon group, the quick
// access row), and the definitions of a collection's controls.
#pragma once

#include "DravikUI/XMLDefinitions.h"

#include "xtp/Controls.h"

#include <functional>
#include <vector>

namespace Dravik::UI::XML::detail {

// Adds a control to the collection: the one the application made, else one of the type.
using ControlAdder = std::function<CXTPControl*(XTPControlType type, int id, CXTPControl* made)>;

CXTPControl* applyControl(const Control& definition, const ControlAdder& add, CXTPCommandBar* bar,
                          const ApplicationParameters& parameters);
std::vector<Control> saveControls(CXTPControls* controls, const SavingParameters& parameters);

} // namespace Dravik::UI::XML::detail
