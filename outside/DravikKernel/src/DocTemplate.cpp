#include "DravikKernel/DocTemplate.h"

#include "DravikKernel/DocumentManager.h"

#include "DVDiagnostics/DVLog.h"
#include "afx/app.h"
#include "afx/frame.h"
#include "afx/mdi.h"
#include "pal/text.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDVDocTemplate, CMultiDocTemplate)

CDVDocTemplate::CDVDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                               CRuntimeClass* pViewClass)
    : CMultiDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CDVDocTemplate* CDVDocTemplate::Create(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass) {
    auto* made = new CDVDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass);
    auto& manager = Dravik::DocumentManager::Instance();
    if (!manager.GetDocTemplate())
        manager.SetDocTemplate(made);
    return made;
}

CDVDocTemplate::~CDVDocTemplate() {
    auto& manager = Dravik::DocumentManager::Instance();
    if (manager.GetDocTemplate() == this)
        manager.SetDocTemplate(nullptr);
}

CDVDocTemplate* CDVDocTemplate::AutoMainFrame::FindDocTemplate() {
    return Dravik::DocumentManager::Instance().GetDocTemplate();
}

CDocument* CDVDocTemplate::OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible) {
    auto& manager = Dravik::DocumentManager::Instance();
    std::wstring error;
    CDvw32Doc* document = nullptr;
    bool opened = false;
    if (lpszPathName == nullptr || *lpszPathName == 0) {
        DocInitParams params = Dravik::DocumentManager::GetDefaultInitParams();
        params.flags |= DocInitParams::kCreateNew | DocInitParams::kHidden;
        document = manager.OpenDocumentFile({}, params, &error);
        opened = document != nullptr;
    } else {
        document = manager.FindDocument(lpszPathName);
        if (!document) {
            document = manager.OpenDocument(lpszPathName, &error);
            opened = document != nullptr;
        }
    }
    if (!document) {
        DVLog_Write(DVLogOptionalFailure, "%s", pal::text::toUtf8(error).c_str());
        return nullptr;
    }
    if (opened && m_bRecovery) {
        std::wstring original(document->GetPathName());
        if (original.size() > 4 && pal::text::toLower(original.substr(original.size() - 4)) == L".err")
            original.resize(original.size() - 4);
        document->SetPathName(original);
        document->SetModifiedFlag(TRUE);
    }
    if (opened || !document->FindFrame()) {
        if (!ShowDocument(document, bMakeVisible != FALSE)) {
            if (opened)
                manager.CloseDocument(document);
            return nullptr;
        }
    } else {
        ActivateDocument(document);
    }
    return document;
}

bool CDVDocTemplate::ShowDocument(CDvw32Doc* document, bool visible) {
    if (!document)
        return false;
    CWinApp* app = AfxGetApp();
    CWnd* main = app ? app->m_pMainWnd : nullptr;
    if (main && IsMainFrameClosing(dynamic_cast<CFrameWnd*>(main))) {
        DVLog_Write(DVLogProgress, "No frame for \"%s\": its main window is closing",
                    pal::text::toUtf8(std::wstring(document->GetTitle())).c_str());
        return false;
    }
    AddDocument(document);
    // The frame's failure must not take the document with it: it stays the manager's.
    const BOOL autoDelete = document->m_bAutoDelete;
    document->m_bAutoDelete = FALSE;
    CFrameWnd* frame = CreateNewFrame(document, nullptr);
    document->m_bAutoDelete = autoDelete;
    if (!frame) {
        RemoveDocument(document);
        document->m_pDocTemplate = nullptr;
        return false;
    }
    InitialUpdateFrame(frame, document, visible);
    return true;
}

void CDVDocTemplate::ActivateDocument(CDvw32Doc* document) {
    CFrameWnd* frame = document ? document->FindFrame() : nullptr;
    if (!frame)
        return;
    if (auto* child = dynamic_cast<CMDIChildWnd*>(frame))
        child->MDIActivate();
    frame->ActivateFrame();
}

void CDVDocTemplate::AddMainFrame(CFrameWnd* frame) {
    if (frame && !IsMainFrameClosing(frame))
        closingFrames_.push_back(frame);
}

void CDVDocTemplate::RemoveMainFrame(CFrameWnd* frame) {
    std::erase(closingFrames_, frame);
}

bool CDVDocTemplate::IsMainFrameClosing(const CFrameWnd* frame) const {
    return frame && std::find(closingFrames_.begin(), closingFrames_.end(), frame) != closingFrames_.end();
}
