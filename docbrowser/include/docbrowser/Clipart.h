// User-added panes that show other views (cliparts), in one list for the process. A clipart is
// the content window of a docking pane; the pane's layout exchange stores its kind and lets the
// clipart store its own state.
#pragma once

#include "DravikUI/DockingPane.h"

#include "pal/visibility.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CClipartView : public Dravik::UI::DockingPaneChildWindow {
public:
    // Every clipart is in the global list from its construction to its destruction.
    CClipartView();
    ~CClipartView() override;
    CClipartView(const CClipartView&) = delete;
    CClipartView& operator=(const CClipartView&) = delete;

    using DockingPaneChildWindow::DoPropExchange;
    BOOL DoPropExchange(CXTPPropExchange* pPX, CXTPDockingPane* pane) override { return TRUE; }
    virtual bool IsApplicationClipart() const { return false; }
    // Asked before its pane closes; a view with unfinished work keeps the pane open.
    virtual bool CanClose() { return true; }
};

class CDvw32Doc;

// The model tree of a document in a pane of its own; it follows the active document.
class ModelTreeClipart : public CClipartView {
public:
    CDvw32Doc* GetDocument() const { return document_; }
    // None empties the tree.
    void SetDocument(CDvw32Doc* document) { document_ = document; }

private:
    CDvw32Doc* document_ = nullptr;
};
class WorkmixClipart : public CClipartView {};
class DocumentsMenuClipart : public CClipartView {};
class ExpandedFormClipart : public CClipartView {};

// A pane that an add-on application asked for: it is known by the application's key and the
// application's own window id, which it keeps in the layout.
class ApplicationClipart : public CClipartView {
public:
    std::wstring appKey;
    int windowId = -1;

    using CClipartView::DoPropExchange;
    BOOL DoPropExchange(CXTPPropExchange* pPX, CXTPDockingPane* pane) override;
    bool IsApplicationClipart() const override { return true; }
};

// The cliparts in the order they were made.
const std::vector<CClipartView*>& ClipartViews();
// The clipart whose window's control id is the pane id; null when none.
CClipartView* FindClipartById(int paneId);
// The application clipart with this window id and application key (exact); null when none.
ApplicationClipart* FindApplicationClipart(const std::wstring& appKey, int windowId);
// Destroys every clipart's window and deletes it; the list is empty afterwards.
void DestroyAllClipartViews();

DV_EXPORTS_END
