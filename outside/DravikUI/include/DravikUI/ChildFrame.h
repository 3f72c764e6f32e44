// The document windows of the main frames. A GenericChildFrame holds its views in a splitter
// that can show up to two rows and two columns of the same document; an MdiChildFrame is the
// child frame of the kernel's documents, which refuses to give up activation to another
// document while its own document is busy.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class Splitter : public CSplitterWnd {
    DECLARE_DYNAMIC(Splitter)
public:
    // Panes are counted row by row: rows x columns of them.
    int GetNumPanes() const { return GetRowCount() * GetColumnCount(); }
    // The view of pane `index` (row by row), or null.
    CView* GetPaneView(int index) const;
};

class GenericChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(GenericChildFrame)
public:
    // The splitter that holds the views; null before the frame's client was made.
    Splitter* GetSplitter();

    // The text of the frame's document tab; empty means the window text.
    const std::wstring& GetTabCaption() const { return m_tabCaption; }
    void SetTabCaption(const std::wstring& caption) { m_tabCaption = caption; }

    // The active view of the active document window is the main frame's active view: a change
    // of either is announced to the main frame (GenericMainFrame::ViewActivated).
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE) override;

protected:
    BOOL OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext) override;
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    DECLARE_MESSAGE_MAP()

private:
    Splitter m_splitter;
    bool m_split = false;
    std::wstring m_tabCaption;
};

class MdiChildFrame : public GenericChildFrame {
    DECLARE_DYNCREATE(MdiChildFrame)
public:
    // Whether `frame` may become the active document window. The active one refuses to hand
    // over while its document is busy (state flag 0x40000000, or held by someone), unless
    // `frame` shows the same document. `document` is what `frame` shows; null asks the frame.
    static bool OnChildActivate(CWnd* frame, CDocument* document);
    // The document state flag that holds the active window on its document.
    static constexpr unsigned long long kBusyFlag = 0x40000000ULL;

    // Asked before the frame closes from its tab; false keeps it open (its document runs a
    // command).
    virtual bool OnCloseCommand();

protected:
    LRESULT OnChildActivateMessage(WPARAM, LPARAM);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};

} // namespace Dravik::UI

DV_EXPORTS_END
