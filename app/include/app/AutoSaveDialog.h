// The small window that names the document being saved automatically; modeless, shown for the
// length of one auto-save pass over the open documents.
#pragma once

#include "DravikKernel/DravikDialog.h"
#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class CAutoSaveDialog : public CDravikDialog {
public:
    static constexpr UINT IDD = 166;
    static constexpr UINT kTitleText = 1119;

    // `title` is shown once the window is made.
    explicit CAutoSaveDialog(std::wstring title, CWnd* owner = nullptr);

    // The document now being saved.
    void SetDocumentTitle(const std::wstring& title);
    const std::wstring& GetDocumentTitle() const { return m_title; }

    BOOL OnInitDialog() override;

private:
    std::wstring m_title;
};

DV_EXPORTS_END
