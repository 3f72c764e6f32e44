// The kernel's file dialog: the class library's file dialog made from one description, with the
// name it opens with settable after it was made. The kernel asks the application for the one it
// shows documents in (DravikServerAppProxy::CreateDocumentFileDialog).
#pragma once

#include "afx/filedialog.h"
#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class CDocTemplate;

// What a file dialog is made from: the arguments of the class library's file dialog.
struct FileDialogInfo {
    bool open = false;
    std::wstring defaultExtension; // without the dot; empty: none
    std::wstring fileName;         // the name (or path) it opens with
    DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    std::wstring filter; // "description|pattern|...||"
    std::wstring title;  // empty: the platform's "Open" or "Save As"

    // The description of the kernel's document dialog for a template's documents (none: every
    // template's), with a filter for each and one for all files; the default extension is the
    // first template's. Templates that name no files give the kernel's drawings (".grb").
    static FileDialogInfo ForDocuments(bool open, const wchar_t* fileName, CDocTemplate* docTemplate);
};

class CDVFileDialog : public CFileDialog {
public:
    CDVFileDialog(const FileDialogInfo& description, CWnd* parent);

    // The name (or path) the dialog opens with; a name longer than the dialog's buffer is cut.
    void SetInitialName(const wchar_t* name);
    // The name (or path) it opens with now.
    std::wstring GetInitialName() const;
    bool IsOpenDialog() const { return m_bOpenFileDialog != FALSE; }

private:
    std::wstring title_;
};

DV_EXPORTS_END
