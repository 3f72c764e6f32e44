#include "docbrowser/DocumentsMenu.h"

namespace DocumentsMenu {

ConfigurationGroup& GlobalCfgGroup() {
    static ConfigurationGroup* group = new ConfigurationGroup;
    return *group;
}

} // namespace DocumentsMenu
