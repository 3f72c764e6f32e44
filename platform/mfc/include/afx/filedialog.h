// CFileDialog: the file dialog of the Windows layer as a class-library dialog. Filters are
// written "description|pattern;pattern|...||" as the class library writes them.
#pragma once

#include "afx/dialog.h"
#include "pal/visibility.h"
#include "win/controls/shobjidl.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

using POSITION = struct __POSITION*;

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt = nullptr, LPCWSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr, DWORD dwSize = 0, BOOL bVistaStyle = TRUE);

    // IDOK when files were chosen, IDCANCEL when the dialog was cancelled or failed.
    INT_PTR DoModal() override;

    // The chosen file: its full path, its name, its extension (without the dot), its name
    // without the extension, and its folder.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;
    // The chosen files one by one, with OFN_ALLOWMULTISELECT.
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;
    OPENFILENAMEW& GetOFN() { return m_ofn; }

    // A push button along the dialog's bottom, added before it is shown (E_INVALIDARG for an id
    // taken or a null label); its clicks reach OnButtonClicked.
    HRESULT AddPushButton(DWORD dwIDCtl, LPCWSTR pszLabel);
    virtual void OnButtonClicked(DWORD dwIDCtl) {}
    // The shown save dialog's interface; null for an open dialog and when none is shown. Valid
    // until the dialog ends: neither kept nor released by the caller.
    IFileSaveDialog* GetIFileSaveDialog() const { return saveDialog_; }

    OPENFILENAMEW m_ofn{};
    BOOL m_bOpenFileDialog;

private:
    std::vector<std::wstring> chosen() const;
    std::wstring filter_;
    std::wstring defExt_;
    std::wstring title_;
    std::vector<wchar_t> file_;
    std::vector<pal::filedialog::PushButton> buttons_;
    IFileSaveDialog* saveDialog_ = nullptr;
};

DV_EXPORTS_END
