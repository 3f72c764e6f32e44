#include "afx/filedialog.h"

#include "afx/app.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace {

// Room for many names when several files may be chosen.
constexpr size_t kSingleBuffer = 4096;
constexpr size_t kMultiBuffer = 65536;

std::wstring folderOf(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

std::wstring nameOf(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

} // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt, LPCWSTR lpszFileName, DWORD dwFlags,
                         LPCWSTR lpszFilter, CWnd* pParentWnd, DWORD, BOOL)
    : CDialog(0, pParentWnd), m_bOpenFileDialog(bOpenFileDialog) {
    file_.assign((dwFlags & OFN_ALLOWMULTISELECT) ? kMultiBuffer : kSingleBuffer, L'\0');
    if (lpszFileName) {
        const std::wstring name = lpszFileName;
        std::copy_n(name.begin(), std::min(name.size(), file_.size() - 1), file_.begin());
    }
    // "a|b|c|d||" becomes "a\0b\0c\0d\0\0".
    if (lpszFilter) {
        filter_ = lpszFilter;
        std::replace(filter_.begin(), filter_.end(), L'|', L'\0');
        filter_.push_back(L'\0');
    }
    if (lpszDefExt)
        defExt_ = lpszDefExt;
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.lpstrFile = file_.data();
    m_ofn.nMaxFile = static_cast<DWORD>(file_.size());
    m_ofn.lpstrFilter = filter_.empty() ? nullptr : filter_.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrDefExt = defExt_.empty() ? nullptr : defExt_.c_str();
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal() {
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    m_ofn.hwndOwner = parent ? parent->m_hWnd : nullptr;
    pal::filedialog::Extras extras;
    extras.buttons = buttons_;
    extras.clicked = [this](DWORD id) { OnButtonClicked(id); };
    extras.saveDialog = [this](IFileSaveDialog* dialog) { saveDialog_ = dialog; };
    const BOOL ok = pal::filedialog::show(&m_ofn, !m_bOpenFileDialog, extras);
    return ok ? IDOK : IDCANCEL;
}

HRESULT CFileDialog::AddPushButton(DWORD dwIDCtl, LPCWSTR pszLabel) {
    const bool taken =
        std::any_of(buttons_.begin(), buttons_.end(),
                    [dwIDCtl](const pal::filedialog::PushButton& b) { return b.id == dwIDCtl; });
    if (pszLabel == nullptr || taken)
        return E_INVALIDARG;
    buttons_.push_back({dwIDCtl, pszLabel});
    return S_OK;
}

// One file: the buffer holds its path. Several: the folder, then each name, each ended by a null.
std::vector<std::wstring> CFileDialog::chosen() const {
    std::vector<std::wstring> out;
    const wchar_t* p = m_ofn.lpstrFile;
    if (!p || !*p)
        return out;
    const std::wstring first = p;
    p += first.size() + 1;
    if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT) || !*p) {
        out.push_back(first);
        return out;
    }
    while (*p) {
        const std::wstring name = p;
        out.push_back(first + L"\\" + name);
        p += name.size() + 1;
    }
    return out;
}

CString CFileDialog::GetPathName() const {
    const auto files = chosen();
    return files.empty() ? CString() : CString(files.front().c_str());
}

CString CFileDialog::GetFileName() const {
    return CString(nameOf(GetPathName().GetString()).c_str());
}

CString CFileDialog::GetFileExt() const {
    const std::wstring name = GetFileName().GetString();
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? CString() : CString(name.substr(dot + 1).c_str());
}

CString CFileDialog::GetFileTitle() const {
    const std::wstring name = GetFileName().GetString();
    const size_t dot = name.find_last_of(L'.');
    return CString(name.substr(0, dot).c_str());
}

CString CFileDialog::GetFolderPath() const {
    return CString(folderOf(GetPathName().GetString()).c_str());
}

POSITION CFileDialog::GetStartPosition() const {
    return chosen().empty() ? nullptr : reinterpret_cast<POSITION>(std::uintptr_t{1});
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
    const auto files = chosen();
    const auto index = reinterpret_cast<std::uintptr_t>(pos) - 1;
    if (pos == nullptr || index >= files.size()) {
        pos = nullptr;
        return CString();
    }
    pos = index + 1 < files.size() ? reinterpret_cast<POSITION>(index + 2) : nullptr;
    return CString(files[index].c_str());
}
