#include "afx/app.h"
#include "afx/document.h"
#include "afx/filedialog.h"
#include "afx/frame.h"
#include "afx/mdi.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

namespace {

POSITION positionOf(size_t index) {
    return reinterpret_cast<POSITION>(index + 1);
}

CString extensionOf(const CString& path) {
    const int dot = path.ReverseFind(L'.');
    const int slash = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/'));
    return dot > slash ? path.Mid(dot) : CString();
}

bool samePath(const CString& a, LPCWSTR b) {
    return !a.IsEmpty() && a.CompareNoCase(b) == 0;
}

} // namespace

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {
    LoadTemplate();
}

void CDocTemplate::LoadTemplate() {
    if (m_strDocStrings.IsEmpty() && m_nIDResource != 0)
        m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    rString.Empty();
    int start = 0;
    for (int field = 0; field < static_cast<int>(index); ++field) {
        const int newline = m_strDocStrings.Find(L'\n', start);
        if (newline < 0)
            return FALSE;
        start = newline + 1;
    }
    const int end = m_strDocStrings.Find(L'\n', start);
    rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return !rString.IsEmpty();
}

POSITION CDocTemplate::GetFirstDocPosition() const {
    return m_docList.empty() ? nullptr : positionOf(0);
}

CDocument* CDocTemplate::GetNextDoc(POSITION& rPos) const {
    const size_t index = reinterpret_cast<size_t>(rPos) - 1;
    if (rPos == nullptr || index >= m_docList.size()) {
        rPos = nullptr;
        return nullptr;
    }
    rPos = index + 1 < m_docList.size() ? positionOf(index + 1) : nullptr;
    return m_docList[index];
}

void CDocTemplate::AddDocument(CDocument* pDoc) {
    if (pDoc == nullptr || std::find(m_docList.begin(), m_docList.end(), pDoc) != m_docList.end())
        return;
    m_docList.push_back(pDoc);
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
    auto it = std::find(m_docList.begin(), m_docList.end(), pDoc);
    if (it != m_docList.end())
        m_docList.erase(it);
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCWSTR lpszPathName, CDocument*& rpDocMatch) {
    rpDocMatch = nullptr;
    if (lpszPathName == nullptr)
        return noAttempt;
    for (CDocument* doc : m_docList) {
        if (samePath(doc->GetPathName(), lpszPathName)) {
            rpDocMatch = doc;
            return yesAlreadyOpen;
        }
    }
    CString ext;
    GetDocString(ext, filterExt);
    // The extension field may list several, separated by ";".
    const CString given = extensionOf(lpszPathName);
    int start = 0;
    while (!ext.IsEmpty() && start <= ext.GetLength()) {
        int end = ext.Find(L';', start);
        if (end < 0)
            end = ext.GetLength();
        CString one = ext.Mid(start, end - start);
        one.Trim();
        if (one.Left(1) == L"*")
            one = one.Mid(1);
        if (!one.IsEmpty() && !given.IsEmpty() && one.CompareNoCase(given) == 0)
            return yesAttemptNative;
        start = end + 1;
    }
    return yesAttemptForeign;
}

CDocument* CDocTemplate::CreateNewDocument() {
    if (m_pDocClass == nullptr)
        return nullptr;
    CObject* object = m_pDocClass->CreateObject();
    auto* doc = dynamic_cast<CDocument*>(object);
    if (doc == nullptr) {
        delete object;
        return nullptr;
    }
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    if (m_pFrameClass == nullptr)
        return nullptr;
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* object = m_pFrameClass->CreateObject();
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (frame == nullptr) {
        delete object;
        return nullptr;
    }
    // A frame that fails to be made deletes itself.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString title;
    if (!GetDocString(title, docName))
        title = L"Untitled";
    title.AppendFormat(L"%u", ++m_nUntitledCount);
    pDocument->SetTitle(title);
}

BOOL CDocTemplate::SaveAllModified() {
    const std::vector<CDocument*> docs = m_docList;
    for (CDocument* doc : docs) {
        if (std::find(m_docList.begin(), m_docList.end(), doc) != m_docList.end() && !doc->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
    const std::vector<CDocument*> docs = m_docList;
    for (CDocument* doc : docs) {
        if (std::find(m_docList.begin(), m_docList.end(), doc) != m_docList.end())
            doc->OnCloseDocument();
    }
}

// CMultiDocTemplate ---------------------------------------------------------------------------

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CMultiDocTemplate::~CMultiDocTemplate() {
    const std::vector<CDocument*> docs = m_docList;
    for (CDocument* doc : docs)
        doc->m_pDocTemplate = nullptr;
    m_docList.clear();
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* doc = CreateNewDocument();
    if (doc == nullptr)
        return nullptr;
    const BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE; // the frame's failure must not take the document with it
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (frame == nullptr) {
        delete doc;
        return nullptr;
    }
    if (lpszPathName == nullptr) {
        SetDefaultTitle(doc);
        if (!bMakeVisible)
            doc->m_bEmbedded = TRUE;
        if (!doc->OnNewDocument()) {
            frame->DestroyWindow(); // the document goes with its last view
            return nullptr;
        }
    } else if (!doc->OnOpenDocument(lpszPathName)) {
        frame->DestroyWindow();
        return nullptr;
    } else {
        doc->SetPathName(lpszPathName);
    }
    InitialUpdateFrame(frame, doc, bMakeVisible);
    return doc;
}

// CDocManager ---------------------------------------------------------------------------------

CDocManager::~CDocManager() {
    for (CDocTemplate* t : m_templateList)
        delete t;
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate) {
    if (pTemplate != nullptr &&
        std::find(m_templateList.begin(), m_templateList.end(), pTemplate) == m_templateList.end()) {
        pTemplate->LoadTemplate();
        m_templateList.push_back(pTemplate);
    }
}

CDocument* CDocManager::OpenDocumentFile(LPCWSTR lpszFileName, BOOL) {
    if (lpszFileName == nullptr || *lpszFileName == 0)
        return nullptr;
    CDocTemplate* best = nullptr;
    CDocTemplate::Confidence bestConfidence = CDocTemplate::noAttempt;
    for (CDocTemplate* t : m_templateList) {
        CDocument* open = nullptr;
        const CDocTemplate::Confidence confidence = t->MatchDocType(lpszFileName, open);
        if (confidence == CDocTemplate::yesAlreadyOpen && open != nullptr) {
            POSITION pos = open->GetFirstViewPosition();
            if (CView* view = open->GetNextView(pos)) {
                if (CFrameWnd* frame = view->GetParentFrame())
                    frame->ActivateFrame();
            }
            return open;
        }
        if (confidence > bestConfidence) {
            bestConfidence = confidence;
            best = t;
        }
    }
    return best != nullptr ? best->OpenDocumentFile(lpszFileName) : nullptr;
}

// With several templates the first one makes new documents.
void CDocManager::OnFileNew() {
    if (!m_templateList.empty())
        m_templateList.front()->OpenDocumentFile(nullptr);
}

void CDocManager::OnFileOpen() {
    CString name;
    if (!DoPromptFileName(name, 0, 0, TRUE, nullptr))
        return;
    if (CWinApp* app = AfxGetApp())
        app->OpenDocumentFile(name);
}

BOOL CDocManager::SaveAllModified() {
    for (CDocTemplate* t : m_templateList) {
        if (!t->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession) {
    for (CDocTemplate* t : m_templateList)
        t->CloseAllDocuments(bEndSession);
}

int CDocManager::GetOpenDocumentCount() const {
    int count = 0;
    for (CDocTemplate* t : m_templateList) {
        for (POSITION pos = t->GetFirstDocPosition(); pos != nullptr;) {
            t->GetNextDoc(pos);
            ++count;
        }
    }
    return count;
}

// The open or save dialog with a filter for each template's files (the given template's only,
// when one is given) and one for all files.
BOOL CDocManager::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                   CDocTemplate* pTemplate) {
    CString filter, defaultExt;
    for (CDocTemplate* t : m_templateList) {
        if (pTemplate != nullptr && t != pTemplate)
            continue;
        CString name, ext;
        if (!t->GetDocString(name, CDocTemplate::filterName) ||
            !t->GetDocString(ext, CDocTemplate::filterExt))
            continue;
        const int semicolon = ext.Find(L';');
        const CString first = semicolon >= 0 ? ext.Left(semicolon) : ext;
        if (defaultExt.IsEmpty())
            defaultExt = first.Left(1) == L"." ? first.Mid(1) : first;
        filter += name + L"|*" + first + L"|";
    }
    filter += L"All Files (*.*)|*.*||";
    const DWORD flags =
        lFlags | OFN_HIDEREADONLY | (bOpenFileDialog ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    CFileDialog dialog(bOpenFileDialog, defaultExt.IsEmpty() ? nullptr : static_cast<LPCWSTR>(defaultExt),
                       fileName.IsEmpty() ? nullptr : static_cast<LPCWSTR>(fileName), flags, filter);
    CString title;
    if (nIDSTitle != 0 && title.LoadString(nIDSTitle))
        dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    fileName = dialog.GetPathName();
    return !fileName.IsEmpty();
}
