#include "DravikKernel/DVFileDialog.h"

#include "afx/app.h"
#include "afx/document.h"

#include <algorithm>

FileDialogInfo FileDialogInfo::ForDocuments(bool open, const wchar_t* fileName, CDocTemplate* docTemplate) {
    FileDialogInfo info;
    info.open = open;
    info.fileName = fileName != nullptr ? fileName : L"";
    info.flags = OFN_HIDEREADONLY | (open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    std::vector<CDocTemplate*> templates;
    if (docTemplate != nullptr) {
        templates.push_back(docTemplate);
    } else if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pDocManager != nullptr) {
        templates = app->m_pDocManager->templates();
    }
    for (CDocTemplate* t : templates) {
        CString name, extensions;
        if (t == nullptr || !t->GetDocString(name, CDocTemplate::filterName) ||
            !t->GetDocString(extensions, CDocTemplate::filterExt))
            continue;
        const int semicolon = extensions.Find(L';');
        const std::wstring first((semicolon >= 0 ? extensions.Left(semicolon) : extensions).GetString());
        if (info.defaultExtension.empty())
            info.defaultExtension = !first.empty() && first[0] == L'.' ? first.substr(1) : first;
        info.filter += std::wstring(name.GetString()) + L"|*" + first + L"|";
    }
    // Without a template that names its files, the kernel's own drawings: a name typed without
    // an extension is still saved as one.
    if (info.defaultExtension.empty()) {
        info.defaultExtension = L"grb";
        info.filter = L"Drawings (*.grb)|*.grb|";
    }
    info.filter += L"All Files (*.*)|*.*||";
    return info;
}

CDVFileDialog::CDVFileDialog(const FileDialogInfo& description, CWnd* parent)
    : CFileDialog(description.open ? TRUE : FALSE,
                  description.defaultExtension.empty() ? nullptr : description.defaultExtension.c_str(),
                  description.fileName.empty() ? nullptr : description.fileName.c_str(), description.flags,
                  description.filter.empty() ? nullptr : description.filter.c_str(), parent),
      title_(description.title) {
    if (!title_.empty())
        m_ofn.lpstrTitle = title_.c_str();
}

void CDVFileDialog::SetInitialName(const wchar_t* name) {
    if (m_ofn.lpstrFile == nullptr || m_ofn.nMaxFile == 0)
        return;
    const std::wstring given = name != nullptr ? name : L"";
    const size_t kept = std::min<size_t>(given.size(), m_ofn.nMaxFile - 1);
    std::copy_n(given.begin(), kept, m_ofn.lpstrFile);
    m_ofn.lpstrFile[kept] = L'\0';
}

std::wstring CDVFileDialog::GetInitialName() const {
    return m_ofn.lpstrFile != nullptr ? std::wstring(m_ofn.lpstrFile) : std::wstring();
}
