#include "SessionServices.h"

#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/Settings.h"

void resetApplicationsForKernel();

namespace dvkernel {

void resetProfiles();
void resetSettings();
void resetModuleProxies();
void resetRuntime();
void resetUiModuleState();

void loadServicesAtSessionStart() {
    DravikProfileManager::LoadProfiles();
    LoadSettings();
}

void applyProfileAtSessionFinish() {
    if (DravikServerAppProxy* proxy = DravikServerAppProxy::Instance())
        proxy->LoadState();
}

void resetServices() {
    resetProfiles();
    resetSettings();
    resetApplicationsForKernel();
    resetModuleProxies();
    resetRuntime();
    resetUiModuleState();
}

} // namespace dvkernel
