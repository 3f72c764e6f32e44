// The kernel's document template: it shows the document manager's documents in MDI child
// frames with their views, the first one made serving every document the manager opens.
//
// The library's rules for it:
// - The documents are the document manager's; the template only makes and keeps their frames.
// - With the recovery mark set, a file opened is a recovery copy: its document takes the path of
//   the original (the copy's path without ".err") and counts as modified, so that it is saved
//   over the original, never over the copy.
// - A main frame registered with the template (AddMainFrame, while it closes) is never given a
//   new document frame: a document opened meanwhile gets no frame and the open fails.
#pragma once

#include "DravikKernel/Document.h"
#include "afx/document.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

class CDVDocTemplate : public CMultiDocTemplate {
    DECLARE_DYNAMIC(CDVDocTemplate)
public:
    // The template of the classes (the document class should be CDvw32Doc's, the view class a
    // CDVView's or a view that makes them); the first one made becomes the document manager's.
    static CDVDocTemplate* Create(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                  CRuntimeClass* pViewClass);
    ~CDVDocTemplate() override;

    // The automatic main-frame template: the one the document manager makes frames with.
    struct AutoMainFrame {
        static CDVDocTemplate* FindDocTemplate();
    };

    // A file opened through the document manager and shown in a new frame; a file open already
    // has its frame activated. Without a path, a new drawing from the drawing prototype of the
    // settings. Null when it does not open.
    CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    // Makes the frame and the views of a document, which joins the template. False when no
    // frame could be made.
    bool ShowDocument(CDvw32Doc* document, bool visible);
    // Brings the document's first frame to the front.
    void ActivateDocument(CDvw32Doc* document);

    void AddMainFrame(CFrameWnd* frame);
    void RemoveMainFrame(CFrameWnd* frame);
    bool IsMainFrameClosing(const CFrameWnd* frame) const;

    // The recovery mark (see the rules above).
    bool m_bRecovery = false;

protected:
    CDVDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                   CRuntimeClass* pViewClass);

private:
    std::vector<CFrameWnd*> closingFrames_;
};

DV_EXPORTS_END
