// One edition module; DV_MODULE_FILE names which. What the module does inside the kernel is
// the maker's; the stand-in only shows that it was loaded, initialised, shut down and unloaded.
#include "DVDiagnostics/Trace.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/ModuleProxies.h"
#include "pal/journal.h"
#include "pal/visibility.h"
#include "win/types.h"

#include <cstdlib>
#include <string_view>

namespace {

constexpr const char* kModule = DV_MODULE_FILE;

void record(const char* what) {
    dvtrace::record(kModule, what);
}

// A test makes a module refuse its initialisation by listing it in DV_MODULE_INIT_FAIL
// ("DV3DSE.dll,DVBOM.dll"); a program run by a person ignores the variable.
bool refusesInitialization() {
    const char* list = std::getenv("DV_MODULE_INIT_FAIL");
    if (!list || !pal::effects::underTest())
        return false;
    std::string_view rest(list);
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        if (rest.substr(0, comma) == kModule)
            return true;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return false;
}

struct Presence {
    Presence() { record("load"); }
    ~Presence() { record("unload"); }
} presence;

} // namespace

DV_ENTRY_POINT BOOL DravikModuleInitialize() {
    if (refusesInitialization()) {
        record("initialize refused");
        return FALSE;
    }
    record("initialize");
#ifdef DV_MODULE_3D_KIND
    CDVCom_Is3D::Attach(DV_MODULE_3D_KIND);
#endif
#ifdef DV_MODULE_2D_EDIT
    EditModuleProxy::Attach();
#endif
#ifdef DV_MODULE_ANNOTATE
    AnnotateModuleProxy::Attach();
#endif
#ifdef DV_MODULE_LT
    LTModuleProxy::Attach();
#endif
    return TRUE;
}

DV_ENTRY_POINT void DravikModuleShutdown() {
    record("shutdown");
#ifdef DV_MODULE_3D_KIND
    CDVCom_Is3D::Detach(DV_MODULE_3D_KIND);
#endif
#ifdef DV_MODULE_2D_EDIT
    EditModuleProxy::Detach();
#endif
#ifdef DV_MODULE_ANNOTATE
    AnnotateModuleProxy::Detach();
#endif
#ifdef DV_MODULE_LT
    LTModuleProxy::Detach();
#endif
}
