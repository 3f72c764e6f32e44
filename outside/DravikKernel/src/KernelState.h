// The stand-in kernel's process-wide state, shared by its source files and its test hooks.
#pragma once

#include "DravikKernel/test/hooks.h"

#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace dvkernel {

struct KernelState {
    std::mutex mutex;
    test::SessionState session = test::SessionState::Closed;
    std::set<test::SessionStep> failing;
    std::map<int, test::RegisteredCmd> commands;
    bool macros = true;
    std::wstring language;
    bool metric = true;
    int brand = 0;
    bool createToolsMode = false;
    unsigned idleCount = 0;
    std::wstring productIni;
    std::vector<int> attached3D; // kinds of the attached 3D modules
    int editModules = 0;
};

KernelState& state();

// The library's name in the call record.
inline constexpr const char* kTraceName = "DravikKernel";

} // namespace dvkernel
