// The application's side of the crash report: the context a guarded operation of the program
// builds, reading and writing the application object, and the guard itself.
#pragma once

#include "DVDiagnostics/CrashGuard.h"
#include "DravikKernel/GenerateDumpFileContext.h"
#include "pal/visibility.h"

#include <utility>

DV_EXPORTS_BEGIN

class GenerateDumpFileAppContext : public GenerateDumpFileContext {
public:
    bool HasErrorMark() const override;
    void SetErrorMark() override;
    void SetErrorRestoreFlag() override;
    void SetSafeToExitFlag() override;
    std::wstring GetProductName() const override;
    void FreeResources() override;
    void PrepareRestart() override;
};

namespace dvapp {

// Runs `body` guarded; a fault in it is reported and the guard answers 0.
template <class Body> int RunInCrashGuard(Body&& body) {
    GenerateDumpFileAppContext context;
    return dvdiag::RunCrashGuarded(&context, [&]() -> int { return static_cast<int>(body()); }, 0);
}

} // namespace dvapp

DV_EXPORTS_END
