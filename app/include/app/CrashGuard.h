// The crash guard: a guarded operation builds a crash-report context for the length of the
// call and runs its body; a fault of the processor, an abort or an exception that leaves the
// body is handed to the report filter with that context. When the filter takes it, the
// operation answers its failure value; without a context the body runs bare, so that a fault
// goes on up as it would have.
//
// Header-only so that the main frame, which the application library builds on, guards its
// command and window procedures with the application's own context.
#pragma once

#include "DVDiagnostics/CrashGuard.h"
#include "DVDiagnostics/GenerateDumpFile.h"
#include "afxwin.h"

#include <stdexcept>
#include <utility>

namespace dvapp {

template <class Result, class Body>
Result RunGuarded(GenerateDumpFileContextBase* context, Result failed, Body&& body) {
    if (context == nullptr)
        return std::forward<Body>(body)();
    Result result = failed;
    const int ran = dvdiag::RunCrashGuarded(
        context,
        [&]() -> int {
            try {
                result = std::forward<Body>(body)();
            } catch (CException* e) {
                e->Delete(); // taken here, so released here
                throw std::runtime_error("a class-library exception left a guarded operation");
            }
            return 1;
        },
        0);
    return ran != 0 ? result : failed;
}

} // namespace dvapp
