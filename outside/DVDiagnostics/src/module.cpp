#include "DVDiagnostics/Module.h"

#include "win/base.h"
#include "win/system/module.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace Dravik {
namespace {

using InitializeFn = BOOL (*)();
using ShutdownFn = void (*)();

struct Loaded {
    std::mutex mutex;
    std::vector<HMODULE> modules; // one entry per successful load, in load order
};

Loaded& loaded() {
    static Loaded* l = new Loaded;
    return *l;
}

void shutdownAndFree(HMODULE module) {
    if (auto shutdown = reinterpret_cast<ShutdownFn>(GetProcAddress(module, "DravikModuleShutdown")))
        shutdown();
    FreeLibrary(module);
}

} // namespace

HMODULE Module::loadMfcAndInitialize(const wchar_t* name, int /*flags*/) {
    HMODULE module = LoadLibraryW(name);
    if (!module)
        return nullptr;
    if (auto initialize = reinterpret_cast<InitializeFn>(GetProcAddress(module, "DravikModuleInitialize"))) {
        if (!initialize()) {
            FreeLibrary(module);
            SetLastError(ERROR_DLL_INIT_FAILED);
            return nullptr;
        }
    }
    std::lock_guard lock(loaded().mutex);
    loaded().modules.push_back(module);
    SetLastError(ERROR_SUCCESS);
    return module;
}

bool Module::shutdownAndUnloadMfc(HMODULE module) {
    {
        std::lock_guard lock(loaded().mutex);
        auto& list = loaded().modules;
        const auto it = std::find(list.rbegin(), list.rend(), module);
        if (!module || it == list.rend())
            return false;
        list.erase(std::next(it).base());
    }
    shutdownAndFree(module);
    return true;
}

void Module::shutdownAll() {
    std::vector<HMODULE> modules;
    {
        std::lock_guard lock(loaded().mutex);
        modules.swap(loaded().modules);
    }
    // Outside the lock: a module's shut-down may itself unload modules.
    for (auto it = modules.rbegin(); it != modules.rend(); ++it)
        shutdownAndFree(*it);
}

} // namespace Dravik
