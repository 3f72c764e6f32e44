#include "DravikKernel/EditionModuleProxies.h"

#include "KernelState.h"

#include <algorithm>

namespace dvkernel {
// For the kernel's reset (detail/control.h).
void clearEditionModules() {
    std::lock_guard lock(state().mutex);
    state().attached3D.clear();
    state().editModules = 0;
}
} // namespace dvkernel

using dvkernel::state;

// Attaching is not recorded in the call record: it is the modules' doing, not the shell's.

CDVCom_Is3D* CDVCom_Is3D::Instance() {
    static CDVCom_Is3D* instance = new CDVCom_Is3D;
    std::lock_guard lock(state().mutex);
    return state().attached3D.empty() ? nullptr : instance;
}

int CDVCom_Is3D::GetKind() const {
    std::lock_guard lock(state().mutex);
    const auto& kinds = state().attached3D;
    return kinds.empty() ? 0 : *std::max_element(kinds.begin(), kinds.end());
}

void CDVCom_Is3D::Attach(int kind) {
    std::lock_guard lock(state().mutex);
    state().attached3D.push_back(kind);
}

void CDVCom_Is3D::Detach(int kind) {
    std::lock_guard lock(state().mutex);
    auto& kinds = state().attached3D;
    if (const auto it = std::find(kinds.begin(), kinds.end(), kind); it != kinds.end())
        kinds.erase(it);
}

EditModuleProxy& EditModuleProxy::Instance() {
    static EditModuleProxy* instance = new EditModuleProxy;
    return *instance;
}

bool EditModuleProxy::IsLoaded() const {
    std::lock_guard lock(state().mutex);
    return state().editModules > 0;
}

void EditModuleProxy::Attach() {
    std::lock_guard lock(state().mutex);
    ++state().editModules;
}

void EditModuleProxy::Detach() {
    std::lock_guard lock(state().mutex);
    if (state().editModules > 0)
        --state().editModules;
}
