#include "ribbon/ApplicationMode.h"

#include "DravikKernel/EditionModuleProxies.h"

#include <atomic>

namespace {

std::atomic<std::uint32_t> g_fixedEditionCode{0};

} // namespace

std::uint32_t GetApplicationModeCode() {
    if (const std::uint32_t fixed = g_fixedEditionCode.load())
        return fixed;
    if (const CDVCom_Is3D* module3D = CDVCom_Is3D::Instance()) {
        switch (module3D->GetKind()) {
        case CDVCom_Is3D::Modelling:
            return 8;
        case CDVCom_Is3D::SolidEdit:
            return 4;
        default:
            break;
        }
    }
    return EditModuleProxy::Instance().IsLoaded() ? 2 : 0;
}

void SetFixedEditionCode(std::uint32_t code) {
    g_fixedEditionCode = code;
}

std::uint32_t GetFixedEditionCode() {
    return g_fixedEditionCode;
}
