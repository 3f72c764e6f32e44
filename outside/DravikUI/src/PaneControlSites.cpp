#include "DravikUI/PaneControlSites.h"

namespace Dravik::UI {

AssemblyStructureControlSite& AssemblyStructureControlSite::Instance() {
    static AssemblyStructureControlSite site;
    return site;
}

} // namespace Dravik::UI

CModelElementsList& CModelElementsList::Instance() {
    static CModelElementsList list;
    return list;
}
