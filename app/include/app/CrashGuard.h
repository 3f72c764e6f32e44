// The crash guard: a guarded operation builds a crash-report context for the length of the
// call and runs its body; an exception that leaves the body is handed to the report filter
// with that context. When the filter takes it, the operation answers its failure value; when
// it does not (no context), the exception goes on up.
//
// Header-only so that the main frame, which the application library builds on, guards its
// command and window procedures with the application's own context.
#pragma once

#include "DVDiagnostics/GenerateDumpFile.h"
#include "afxwin.h"

#include <utility>

namespace dvapp {

template <class Result, class Body>
Result RunGuarded(GenerateDumpFileContextBase* context, Result failed, Body&& body) {
    try {
        return std::forward<Body>(body)();
    } catch (CException* e) {
        if (GenerateDumpFileAndReportError(nullptr, context) == 0)
            throw;
        e->Delete(); // taken here, so released here
    } catch (...) {
        if (GenerateDumpFileAndReportError(nullptr, context) == 0)
            throw;
    }
    return failed;
}

} // namespace dvapp
