// The file dialog the kernel shows documents in: a save dialog proposes a name by the naming
// rules of the managed side, and a button shows those rules and proposes the next name.
#pragma once

#include "DravikKernel/DVFileDialog.h"
#include "DravikManagedUIProxy/DravikManagedUIProxy.h"
#include "pal/visibility.h"

#include <memory>

DV_EXPORTS_BEGIN

class DocumentFileDialog : public CDVFileDialog {
public:
    // The button that shows the naming rules.
    static constexpr DWORD kNamingRulesButton = 10000;

    DocumentFileDialog(const FileDialogInfo& description, CWnd* parent);

    // Prepares the automatic naming (save dialogs only), then shows the dialog.
    INT_PTR DoModal() override;
    void OnButtonClicked(DWORD dwIDCtl) override;

private:
    // Each step stops quietly at the first missing piece: no active document, no caption for the
    // button, no namer.
    void PrepareAutoNaming();

    std::unique_ptr<DravikManagedUIProxy::AutoNamer> namer_;
};

DV_EXPORTS_END
