#include "app/DocumentFileDialog.h"

#include "app/ServerAppProxy.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "win/system.h"
#include "win/user.h"

#include <string>

DocumentFileDialog::DocumentFileDialog(const FileDialogInfo& description, CWnd* parent)
    : CDVFileDialog(description, parent) {}

INT_PTR DocumentFileDialog::DoModal() {
    PrepareAutoNaming();
    return CDVFileDialog::DoModal();
}

void DocumentFileDialog::PrepareAutoNaming() {
    namer_.reset();
    if (IsOpenDialog())
        return;
    CDvw32Doc* document = DVGetActiveDoc();
    if (document == nullptr)
        return;
    const std::wstring caption =
        DravikManagedUIProxy::PresentationResourceAccessor::GetString(L"ND_NamingRules");
    if (caption.empty())
        return;
    namer_ = DravikManagedUIProxy::AutoNamer::Create(document->GetTitle());
    if (namer_ == nullptr)
        return;
    // Added at the first showing; a later showing finds it there.
    AddPushButton(kNamingRulesButton, (caption + L"...").c_str());
    // A document saved before keeps its name; a new one gets the namer's in the same folder.
    if (!document->GetPathName().IsEmpty())
        return;
    const std::wstring name = namer_->GetName();
    if (name.empty())
        return;
    const std::wstring current = GetInitialName();
    const wchar_t* fileName = PathFindFileNameW(current.c_str());
    const std::wstring folder(current.c_str(), static_cast<size_t>(fileName - current.c_str()));
    SetInitialName((folder + name).c_str());
}

void DocumentFileDialog::OnButtonClicked(DWORD dwIDCtl) {
    if (dwIDCtl != kNamingRulesButton || namer_ == nullptr) {
        CDVFileDialog::OnButtonClicked(dwIDCtl);
        return;
    }
    IFileSaveDialog* dialog = GetIFileSaveDialog();
    if (dialog == nullptr)
        return;
    if (!namer_->ShowRulesDialog(::GetActiveWindow()))
        return;
    const std::wstring name = namer_->GetName();
    if (!name.empty())
        dialog->SetFileName(name.c_str());
}

void ServerAppProxy::CreateDocumentFileDialog(std::unique_ptr<CDVFileDialog>& dialog,
                                              const FileDialogInfo& description, CWnd* parent) {
    dialog = std::make_unique<DocumentFileDialog>(description, parent);
}
