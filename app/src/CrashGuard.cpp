#include "app/GenerateDumpFileAppContext.h"

#include "app/Dvw32App.h"

#include "DravikKernel/KernelServices.h"

bool GenerateDumpFileAppContext::HasErrorMark() const {
    return GetDvw32App()->HasApplicationState(CDvw32App::kStateErrorMark);
}

void GenerateDumpFileAppContext::SetErrorMark() {
    GetDvw32App()->SetApplicationState(CDvw32App::kStateErrorMark);
}

void GenerateDumpFileAppContext::SetErrorRestoreFlag() {
    GetDvw32App()->SetApplicationState(CDvw32App::kStateErrorRestore);
}

void GenerateDumpFileAppContext::SetSafeToExitFlag() {
    GetDvw32App()->SetApplicationState(CDvw32App::kStateSafeToExit);
}

std::wstring GenerateDumpFileAppContext::GetProductName() const {
    const UINT id = GetDvw32App()->GetTitleStringId();
    return id != 0 ? DVLoadString(id) : GenerateDumpFileContext::GetProductName();
}

void GenerateDumpFileAppContext::PrepareRestart() {
    GetDvw32App()->PrepareRestart();
}
