// Documents and the templates that make them. A template knows the document, frame and view
// classes of one kind of document and the strings that describe it; the application's
// document manager chooses a template for a file and never opens the same file twice.
#pragma once

#include "afx/cmdtarget.h"
#include "afx/msgmap.h"
#include "afx/object.h"
#include "afxstr.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

class CView;
class CFrameWnd;
class CDocTemplate;

// A place in one of the library's lists: opaque to callers, null past the end.
using POSITION = struct __POSITION*;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    ~CDocument() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCWSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Also names the document after the file and, when asked, puts the file at the top of the
    // application's recent list.
    virtual void SetPathName(LPCWSTR lpszPathName, BOOL bAddToMRU = TRUE);
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // The views showing the document, in the order they were added.
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // Every view but pSender hears OnUpdate.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
    // Frames showing the document repaint their titles.
    void UpdateFrameCounts();

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCWSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCWSTR lpszPathName);
    // Closes every frame that shows the document, then deletes it when it deletes itself.
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual void OnChangedViewList();
    // Asks whether to save a modified document: Yes saves (a failed save keeps it open), No
    // discards, Cancel answers FALSE.
    virtual BOOL SaveModified();
    // A frame may close when another frame still shows the document, or when the document
    // may be closed.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd*) {}
    // Saves under lpszPathName, or under a name the person picks when it is null.
    virtual BOOL DoSave(LPCWSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();

    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();

    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bAutoDelete = TRUE;
    BOOL m_bEmbedded = FALSE;

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_viewList;

    DECLARE_MESSAGE_MAP()

private:
    friend class DocumentKeepAlive;
    // A document in the middle of a save or a close is deleted when that call is done.
    int keepAlive_ = 0;
    bool deletePending_ = false;
    bool closing_ = false;
};

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    // The fields of the template's string resource, separated by "\n".
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };
    enum Confidence {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen,
    };

    CDocTemplate() = default;
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);
    ~CDocTemplate() override = default;

    virtual void LoadTemplate();
    // A field that the string does not have is empty.
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    virtual POSITION GetFirstDocPosition() const;
    virtual CDocument* GetNextDoc(POSITION& rPos) const;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    // yesAlreadyOpen (with the document) for a file one of its documents holds; native for
    // its own extension; foreign otherwise.
    virtual Confidence MatchDocType(LPCWSTR lpszPathName, CDocument*& rpDocMatch);
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);

    UINT m_nIDResource = 0;
    CRuntimeClass* m_pDocClass = nullptr;
    CRuntimeClass* m_pFrameClass = nullptr;
    CRuntimeClass* m_pViewClass = nullptr;
    CString m_strDocStrings;

protected:
    std::vector<CDocument*> m_docList;
    UINT m_nUntitledCount = 0;
};

// Any number of documents, each in its own document window.
class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;
    // A new document without a path; a file otherwise. A document that fails to start leaves
    // no frame behind, and only an opened file joins the recent list.
    CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
};

// The application's templates and the commands that reach all documents.
class CDocManager {
public:
    CDocManager() = default;
    virtual ~CDocManager();
    CDocManager(const CDocManager&) = delete;
    CDocManager& operator=(const CDocManager&) = delete;

    virtual void AddDocTemplate(CDocTemplate* pTemplate);
    const std::vector<CDocTemplate*>& templates() const { return m_templateList; }
    // A document that has the file already is activated and returned, not opened again.
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszFileName, BOOL bAddToMRU = TRUE);
    virtual void OnFileNew();
    virtual void OnFileOpen();
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    int GetOpenDocumentCount() const;
    // Asks for a file name through the open or save dialog; FALSE when none was chosen.
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate);

protected:
    std::vector<CDocTemplate*> m_templateList;
};

DV_EXPORTS_END
