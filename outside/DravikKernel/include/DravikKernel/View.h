// The kernel's drawing view: an MFC view that shows one page of its document through GDI.
//
// The library's rules for it:
// - A view shows its page whole when it is first updated and whenever it is resized, until the
//   person zooms or pans; from then on the zoom and position stay (ZoomAll shows it whole again).
// - The wheel zooms about the cursor, a drag with the middle button pans, a left click selects
//   the element under it (or clears the selection on empty paper). Selected elements are drawn
//   in the highlight colour.
// - View kind 1 shows a sheet page, kind 2 a model page. Its state queries answer, in order:
//   whether it shows a sheet of a 2D document, whether something is selected, whether a command
//   runs on its document.
// - The pop-up tool bar is wanted while something is selected, unless switched off.
#pragma once

#include "DravikKernel/Document.h"
#include "DravikKernel/PageRender.h"
#include "afx/view.h"
#include "pal/visibility.h"
#include "win/com/guid.h"

#include <cstddef>
#include <cstdint>
#include <vector>

DV_EXPORTS_BEGIN

class CFragmentPath;
class CXTPCommandBars;

// A view's main-bar states: the ribbon tabs (by GUID) the commands that ran in it switched to,
// the latest on top. A command pushes its state when it starts and pops it when it ends.
struct MainBarStateRecord {
    GUID first{};
    GUID second{};
};

class MainBarSwitchHistory {
public:
    void PushEvent(const MainBarStateRecord& record) { events_.push_back(record); }
    void PopEvent() {
        if (!events_.empty())
            events_.pop_back();
    }
    // The state now; null while no command pushed one.
    const MainBarStateRecord* GetTopEvent() const { return events_.empty() ? nullptr : &events_.back(); }
    // The person chose another tab: it becomes the state now. False when there is no state to
    // change, and the caller keeps the choice elsewhere.
    bool SetTopEvent(const MainBarStateRecord& record) {
        if (events_.empty())
            return false;
        events_.back() = record;
        return true;
    }

private:
    std::vector<MainBarStateRecord> events_;
};

// What every view of the kernel's hears from the frame: the control of the command the
// person used, so that the running command reads its value from there.
class CDVBaseView : public CView {
    DECLARE_DYNAMIC(CDVBaseView)
public:
    // The control with that id carried a command to the view; the last one is kept.
    virtual void OnControlNotify(int controlId);
    int GetNotifiedControl() const { return notifiedControl_; }

private:
    int notifiedControl_ = 0;
};

class CDVView : public CDVBaseView {
    DECLARE_DYNCREATE(CDVView)
public:
    // Sent to the view's top-level window when the view shows something else (lParam the view).
    static constexpr UINT kViewChangedMessage = 0x523;

    CDVView() = default;
    ~CDVView() override;

    CDvw32Doc* GetDvwDocument() const;

    // The page shown, an index into the document's pages.
    int GetParentPage() const { return page_; }
    void SetParentPage(int page);
    // 1 for a sheet page, 2 for a model page; 0 without a document.
    int GetViewKind() const;
    // The state queries, numbered from 1 (see the rules above); false for any other number.
    bool QueryState(int query) const;

    // Zoom and position.
    const Dravik::PageView& GetPageView() const { return view_; }
    void ZoomAll();
    void ZoomAt(double factor, POINT client);
    void PanBy(int dx, int dy);

    // The selection, as indexes into the document's elements.
    const std::vector<std::size_t>& GetSelection() const { return selection_; }
    // Selects the element (one of the document's, on the shown page) alone; false, and the
    // selection cleared, for none or a foreign one.
    bool SelectObject(const Dravik::Element* element);
    void ClearSelection();

    // Another document window is about to become active: `next` is its active view (null when
    // it is none of the kernel's). The view keeps it until the next change.
    virtual void OnActiveViewChanging(CView* next) { nextActiveView_ = next; }
    CView* GetNextActiveView() const { return nextActiveView_; }

    // The ribbon tab the view brings with it; the null GUID when it brings none.
    virtual GUID GetRibbonGUID() const { return ribbonGuid_; }
    void SetRibbonGUID(const GUID& guid) { ribbonGuid_ = guid; }

    // The tabs chosen in the view: the main-bar history, and the tab chosen while the history
    // had no state (the null GUID for none).
    MainBarSwitchHistory& GetMainBarSwitchHistory() { return mainBarHistory_; }
    const MainBarSwitchHistory& GetMainBarSwitchHistory() const { return mainBarHistory_; }
    GUID GetMainBarGUID() const { return mainBarGuid_; }
    void SetMainBarGUID(const GUID& guid) { mainBarGuid_ = guid; }

    // The command bars of the tool bars the view hosts itself; none here.
    virtual CXTPCommandBars* GetToolBarHost() { return nullptr; }

    // What the 3D module lists the view's profiles by: the view's object and its number (the
    // page shown); and whether the module offers the view any profiles at all.
    const void* GetProfileObject() const { return this; }
    std::int32_t GetProfileNumber() const { return page_; }
    bool HasProfiles() const;

    bool IsShowPopupToolbar() const { return showPopupToolbar_ && !selection_.empty(); }
    void SetShowPopupToolbar(bool show) { showPopupToolbar_ = show; }

    // Inserts the fragment file of `fragment` into the shown page, its origin at the drop point
    // when that lies in the view and at the page's centre otherwise, as one undo step.
    // FALSE when the file does not open as a fragment, the document is not editable or nothing
    // was inserted.
    BOOL InsertFragment(CFragmentPath& fragment);

    // An object command: the command id offered to the view's own command routing (the view,
    // its document, the template) for the selected objects; FALSE when nothing is selected or
    // nobody handles it.
    BOOL OnObjectCommand(UINT id);

    // Asks the running command of the document to end at the next test.
    void RequestTerminateCommand() { terminateRequested_ = true; }
    // Ends the running command when it was asked to end or the document is no longer editable;
    // TRUE when a command ended.
    BOOL TestTerminateCommand(int mode);

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnMButtonUp(UINT nFlags, CPoint point);

protected:
    DECLARE_MESSAGE_MAP()

private:
    const Dravik::Page* page() const;

    int page_ = 0;
    Dravik::PageView view_;
    bool fitted_ = true;
    bool panning_ = false;
    POINT panFrom_{};
    bool showPopupToolbar_ = true;
    bool terminateRequested_ = false;
    std::vector<std::size_t> selection_;
    GUID ribbonGuid_{};
    GUID mainBarGuid_{};
    MainBarSwitchHistory mainBarHistory_;
    CView* nextActiveView_ = nullptr;
};

// The drawing view the person works in: the active view of the active document, when it is a
// CDVView; null otherwise.
CDVView* DVGetActiveView();

DV_EXPORTS_END
