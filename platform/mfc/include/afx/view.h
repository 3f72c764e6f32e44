// Views: the windows that show a document inside a frame. A view draws through OnDraw, hears
// of changes through OnUpdate, and offers commands to its document after its own map.
#pragma once

#include "afx/document.h"
#include "afx/wnd.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CDC;

// Sent to a frame's descendants once the frame and its document are ready.
constexpr UINT WM_INITIALUPDATE = 0x0364;

// What a print job asks of a view; printing is not available here, so no job ever starts.
struct CPrintInfo {
    BOOL m_bPreview = FALSE;
    UINT m_nCurPage = 1;
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    virtual void OnDraw(CDC*) {}
    virtual void OnPrepareDC(CDC*, CPrintInfo* = nullptr) {}
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT, CFrameWnd*) {}

    // Printing entry points: no printer is available, so preparing a job always declines.
    virtual BOOL OnPreparePrinting(CPrintInfo*) { return FALSE; }
    virtual void OnBeginPrinting(CDC*, CPrintInfo*) {}
    virtual void OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }
    virtual void OnEndPrinting(CDC*, CPrintInfo*) {}
    void OnFilePrint();
    void OnFilePrintPreview();

    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnDestroy();
    void OnPaint();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnSetFocus(CWnd* pOldWnd);
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

    CDocument* m_pDocument = nullptr;

protected:
    // Views belong to their window: the object goes with it.
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()
};

// A view larger than its window, scrolled by a position that OnPrepareDC applies as the
// viewport origin.
class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    static const SIZE sizeDefault;
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CPoint GetScrollPosition() const { return m_pos; }
    CSize GetTotalSize() const { return m_totalLog; }
    // Kept within the total size less the window.
    void ScrollToPosition(POINT pt);
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

protected:
    int m_nMapMode = 0;
    CSize m_totalLog;
    CSize m_pageDev;
    CSize m_lineDev;
    CPoint m_pos;
};

// A view made of the controls of a dialog template, scrolled when the frame is smaller than the
// template. The template's own style and caption are not used: the view is a child of its frame.
class CFormView : public CScrollView {
    DECLARE_DYNAMIC(CFormView)
public:
    explicit CFormView(UINT nIDTemplate);
    UINT GetTemplateId() const { return m_nIDTemplate; }
    BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;
    // The controls take their values from the view's data exchange.
    void OnInitialUpdate() override;

protected:
    UINT m_nIDTemplate = 0;
};

DV_EXPORTS_END
