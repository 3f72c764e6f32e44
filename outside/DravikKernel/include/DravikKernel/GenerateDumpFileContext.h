// The kernel's crash-report context: the diagnostics library's context with the kernel's
// product name and a message box that asks the person whether to restart. The application
// derives its own from it.
#pragma once

#include "DVDiagnostics/GenerateDumpFile.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class GenerateDumpFileContext : public GenerateDumpFileContextBase {
public:
    // The caption of the kernel's message boxes (DVMessageBox), the application's name.
    std::wstring GetProductName() const override;
    // A stop box with the text and the question whether to restart: Yes answers kRestart.
    int ShowErrorDialog(const std::wstring& text) override;
    // Where the application sends reports of faults (DravikServerAppProxy::GetBugReportAddress);
    // none without the application.
    std::wstring GetReportAddress() const override;
    // Resets the UI module's cancellation window, then the base's.
    void FreeResources() override;
};

DV_EXPORTS_END
