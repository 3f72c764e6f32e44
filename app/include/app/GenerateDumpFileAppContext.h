// The application's side of the crash report: it keeps its marks in the application object's
// state flags, so that they outlive the guarded call that met the fault.
#pragma once

#include "DravikKernel/GenerateDumpFileContext.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class GenerateDumpFileAppContext : public GenerateDumpFileContext {
public:
    bool HasErrorMark() const override;
    void SetErrorMark() override;
    void SetErrorRestoreFlag() override;
    void SetSafeToExitFlag() override;
    std::wstring GetProductName() const override;
    // Lists the open documents for the restarted program, a changed one as a recovery copy.
    void SaveDocuments() override;
    // Lists every open drawing for the next start to open again, a changed one as a recovery
    // copy beside its file: for a process that ends without a person to ask (a crash, a display
    // that went away).
    void KeepDocumentsForRecovery();
    // Starts a fresh copy of the program when the person asked for one.
    void PrepareRestart() override;
};

DV_EXPORTS_END
