#include "afx/document.h"
#include "afx/app.h"
#include "afx/frame.h"
#include "afxres.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

// Holds a document while one of its calls runs: a close that happens meanwhile (a frame
// closed from inside a save) deletes the document only when the outermost call is done.
class DocumentKeepAlive {
public:
    explicit DocumentKeepAlive(CDocument* doc) : doc_(doc) { ++doc_->keepAlive_; }
    ~DocumentKeepAlive() {
        if (--doc_->keepAlive_ == 0 && doc_->deletePending_)
            delete doc_;
    }
    DocumentKeepAlive(const DocumentKeepAlive&) = delete;
    DocumentKeepAlive& operator=(const DocumentKeepAlive&) = delete;
    bool closed() const { return doc_->deletePending_; }

private:
    CDocument* doc_;
};

namespace {

POSITION positionOf(size_t index) {
    return reinterpret_cast<POSITION>(index + 1);
}

size_t indexOf(POSITION position) {
    return reinterpret_cast<size_t>(position) - 1;
}

} // namespace

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, &CDocument::OnFileClose)
ON_COMMAND(ID_FILE_SAVE, &CDocument::OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::~CDocument() {
    for (CView* view : m_viewList)
        view->m_pDocument = nullptr;
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCWSTR lpszTitle) {
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCWSTR lpszPathName, BOOL bAddToMRU) {
    m_strPathName = lpszPathName;
    const int slash = std::max(m_strPathName.ReverseFind(L'\\'), m_strPathName.ReverseFind(L'/'));
    SetTitle(m_strPathName.Mid(slash + 1));
    if (bAddToMRU) {
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(m_strPathName);
    }
}

// A document first, then its template.
BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

POSITION CDocument::GetFirstViewPosition() const {
    return m_viewList.empty() ? nullptr : positionOf(0);
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
    const size_t index = indexOf(rPosition);
    if (rPosition == nullptr || index >= m_viewList.size()) {
        rPosition = nullptr;
        return nullptr;
    }
    rPosition = index + 1 < m_viewList.size() ? positionOf(index + 1) : nullptr;
    return m_viewList[index];
}

void CDocument::AddView(CView* pView) {
    if (pView == nullptr || std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end())
        return;
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end())
        return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

// A document that a template made closes with its last view.
void CDocument::OnChangedViewList() {
    if (m_viewList.empty() && m_bAutoDelete && m_pDocTemplate != nullptr && !closing_) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    const std::vector<CView*> views = m_viewList;
    for (CView* view : views) {
        if (view != pSender)
            view->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::UpdateFrameCounts() {
    std::vector<CFrameWnd*> frames;
    for (CView* view : m_viewList) {
        CFrameWnd* frame = view->GetParentFrame();
        if (frame != nullptr && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    for (CFrameWnd* frame : frames) {
        if (frame->GetActiveDocument() == this)
            frame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

// Without contents of its own, a document opens any file that can be read.
BOOL CDocument::OnOpenDocument(LPCWSTR lpszPathName) {
    const HANDLE file = ::CreateFileW(lpszPathName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    ::CloseHandle(file);
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCWSTR lpszPathName) {
    const HANDLE file =
        ::CreateFileW(lpszPathName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    ::CloseHandle(file);
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument() {
    if (closing_)
        return;
    closing_ = true;
    {
        // Destroying the frames removes the views; the document stays until they are gone.
        std::vector<CFrameWnd*> frames;
        for (CView* view : m_viewList) {
            CFrameWnd* frame = view->GetParentFrame();
            if (frame != nullptr && std::find(frames.begin(), frames.end(), frame) == frames.end())
                frames.push_back(frame);
        }
        for (CFrameWnd* frame : frames) {
            PreCloseFrame(frame);
            frame->DestroyWindow();
        }
    }
    DeleteContents();
    closing_ = false;
    if (!m_bAutoDelete)
        return;
    if (keepAlive_ > 0)
        deletePending_ = true;
    else
        delete this;
}

BOOL CDocument::SaveModified() {
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    if (name.IsEmpty())
        name = L"Untitled";
    const CString prompt = L"Save changes to " + name + L"?";
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL, 0)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
    for (CView* view : m_viewList) {
        if (view->GetParentFrame() != pFrame)
            return TRUE;
    }
    return SaveModified();
}

BOOL CDocument::DoFileSave() {
    const DWORD attributes =
        m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(m_strPathName);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return DoSave(nullptr);
    return DoSave(m_strPathName.IsEmpty() ? nullptr : static_cast<LPCWSTR>(m_strPathName));
}

BOOL CDocument::DoSave(LPCWSTR lpszPathName, BOOL bReplace) {
    DocumentKeepAlive alive(this);
    CString name = lpszPathName != nullptr ? CString(lpszPathName) : CString();
    if (name.IsEmpty()) {
        name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
        CWinApp* app = AfxGetApp();
        if (app == nullptr || !app->DoPromptFileName(name, 0, 0, FALSE, m_pDocTemplate))
            return FALSE;
    }
    if (!OnSaveDocument(name)) {
        if (!alive.closed())
            AfxMessageBox(L"Failed to save document.", MB_OK | MB_ICONEXCLAMATION, 0);
        return FALSE;
    }
    if (bReplace && !alive.closed())
        SetPathName(name);
    return TRUE;
}

void CDocument::OnFileClose() {
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave() {
    DoFileSave();
}

void CDocument::OnFileSaveAs() {
    DoSave(nullptr);
}
