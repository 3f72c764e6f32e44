#include "DravikKernel/GenerateDumpFileContext.h"

#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModule.h"

#include "DVDiagnostics/CrashGuard.h"

#include "win/controls.h"

std::wstring GenerateDumpFileContext::GetProductName() const {
    return DVMessageBox::GetCaption();
}

int GenerateDumpFileContext::ShowErrorDialog(const std::wstring& text) {
    GenerateDumpFileContextBase::ShowErrorDialog(text);
    const std::wstring question = text + L"\n\nRestart the program and recover the documents?";
    // Not through this process's windows: the fault may have left their locks held. Nobody to
    // answer, the program closes with its report kept.
    const int answer =
        dvdiag::AskAfterFault(DVMessageBox::GetCaption(), question, MB_YESNO | MB_ICONSTOP, IDNO);
    return answer == IDYES ? kRestart : kClose;
}

std::wstring GenerateDumpFileContext::GetReportAddress() const {
    DravikServerAppProxy* proxy = DravikServerAppProxy::Instance();
    return proxy != nullptr ? proxy->GetBugReportAddress() : std::wstring();
}

void GenerateDumpFileContext::FreeResources() {
    UIModule::ResetCancellationWindow();
    GenerateDumpFileContextBase::FreeResources();
}
