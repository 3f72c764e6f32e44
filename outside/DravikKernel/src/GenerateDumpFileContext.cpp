#include "DravikKernel/GenerateDumpFileContext.h"

#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModule.h"

#include "win/controls.h"

std::wstring GenerateDumpFileContext::GetProductName() const {
    return DVMessageBox::GetCaption();
}

int GenerateDumpFileContext::ShowErrorDialog(const std::wstring& text) {
    GenerateDumpFileContextBase::ShowErrorDialog(text);
    const std::wstring question = text + L"\n\nRestart the program and recover the documents?";
    return DVMessageBox::Show(question.c_str(), MB_YESNO | MB_ICONSTOP) == IDYES ? kRestart : kClose;
}

void GenerateDumpFileContext::FreeResources() {
    UIModule::ResetCancellationWindow();
    GenerateDumpFileContextBase::FreeResources();
}
