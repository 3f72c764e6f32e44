// The values the system panel shows for a document's 2D container (or for none): an integer
// and, for the real-valued controls, the variable it is bound to (-1 for none).
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace Dravik {
class DVDocument;
}

struct SysPanelIntValue {
    int value = 0;
    int variable = -1;
    bool operator==(const SysPanelIntValue&) const = default;
};

void set_syspanel_int(Dravik::DVDocument* container, int id, int value);
void set_syspanel_intvar(Dravik::DVDocument* container, int id, int value, int variable);
// The value last set for the control; the default value when none was.
SysPanelIntValue get_syspanel_int(const Dravik::DVDocument* container, int id);
// Forgets the values of a container that goes away.
void clear_syspanel_values(const Dravik::DVDocument* container);

DV_EXPORTS_END
