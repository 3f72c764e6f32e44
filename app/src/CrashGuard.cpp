#include "app/CrashGuard.h"

#include "app/Dvw32App.h"

#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModule.h"

bool GenerateDumpFileAppContext::HasErrorMark() const {
    return GetDvw32App()->HasStateFlag(CDvw32App::ErrorMark);
}

void GenerateDumpFileAppContext::SetErrorMark() {
    GetDvw32App()->SetStateFlag(CDvw32App::ErrorMark);
}

void GenerateDumpFileAppContext::SetErrorRestoreFlag() {
    GetDvw32App()->SetStateFlag(CDvw32App::ErrorRestore);
}

void GenerateDumpFileAppContext::SetSafeToExitFlag() {
    GetDvw32App()->SetStateFlag(CDvw32App::SafeToExit);
}

std::wstring GenerateDumpFileAppContext::GetProductName() const {
    const UINT id = GetDvw32App()->GetTitleStringId();
    std::wstring name = id != 0 ? DVLoadString(id) : std::wstring();
    return name.empty() ? GenerateDumpFileContext::GetProductName() : name;
}

void GenerateDumpFileAppContext::FreeResources() {
    // The kernel's context resets the cancellation window before the base's work.
    GenerateDumpFileContext::FreeResources();
}

void GenerateDumpFileAppContext::PrepareRestart() {
    GetDvw32App()->PrepareRestart();
}
