// The main-frame framework of the UI library. A GenericMainFrame is the tool kit's MDI frame
// with the command bars it owns, a docking-pane manager it is given, the frameless tool bars
// that stand over the active drawing view, the control-hint block and the notion of being the
// active main frame; it implements the MainFrame interface. MdiMainFrame is the class the
// program's main frame derives from.
#pragma once

#include "DravikUI/DockingPane.h"
#include "DravikUI/MainFrame.h"
#include "DravikUI/SelectionFilters.h"
#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/FrameWnd.h"

#include <memory>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class StatusLineProxy;

namespace Dravik::UI {

namespace XML {
struct Control;
}

// View-type bits of a tool bar or control: which drawing views it belongs to.
constexpr DWORD kViewTypeSheet = 0x1000; // two-dimensional views
constexpr DWORD kViewTypeModel = 0x2000; // three-dimensional views other than cameras
constexpr DWORD kViewTypeCamera = 0x4000;
constexpr DWORD kViewTypeWorkplane = 0x8000;
constexpr DWORD kViewTypesAll = 0x7F000;

// A tool bar of the frameless set: it stands over the active view, at one of its edges, and
// shows only while that view is of a kind it belongs to.
class FramelessToolBar : public CXTPToolBar {
    DECLARE_DYNCREATE(FramelessToolBar)
public:
    // Edges of the view: 0 left, 1 top, 2 right, 3 bottom; -1 off.
    int GetViewPosition() const { return m_viewPosition; }
    void SetViewPosition(int position) { m_viewPosition = position; }
    DWORD GetViewTypes() const { return m_viewTypes; }
    void SetViewTypes(DWORD types) { m_viewTypes = types; }
    // The bit of the set's visible mask that stands for this bar.
    DWORD GetMaskBit() const { return m_maskBit; }
    void SetMaskBit(DWORD bit) { m_maskBit = bit; }
    // While locked, the bar keeps the visibility given, whatever the view.
    void LockVisibility(bool visible);
    void UnlockVisibility() { m_locked = false; }
    bool IsVisibilityLocked() const { return m_locked; }
    bool GetLockedVisibility() const { return m_lockedVisible; }

private:
    int m_viewPosition = 1;
    DWORD m_viewTypes = kViewTypesAll;
    DWORD m_maskBit = 0;
    bool m_locked = false;
    bool m_lockedVisible = false;
};

class FramelessToolBars : public CXTPCommandBars {
    DECLARE_DYNCREATE(FramelessToolBars)
public:
    FramelessToolBar* AddFramelessBar(LPCWSTR name, UINT id, DWORD maskBit, DWORD viewTypes, int position);
    FramelessToolBar* GetFramelessBar(UINT id) const;
};

class GenericMainFrame : public CXTPMDIFrameWnd, public MainFrame {
    DECLARE_DYNAMIC(GenericMainFrame)
public:
    GenericMainFrame();
    ~GenericMainFrame() override;

    CFrameWnd* GetFrameWnd() override { return this; }
    using CXTPMDIFrameWnd::GetCommandBars;

    // The frame's docking panes: the frame uses the manager given (it does not own it).
    void SetDockingPaneManager(DockingPaneManager* manager) { m_panes = manager; }
    DockingPaneManager* GetDockingPaneManager() const { return m_panes; }

    // --- the active view ---
    // The frame's own notion of its active view (the one frameless bars and panes follow).
    using CXTPMDIFrameWnd::SetActiveView;
    virtual void SetActiveView(CView* view, bool force);
    CView* GetActiveDravikView() const;
    // A view of the frame became active (its child frame says so).
    void ViewActivated(CView* view) { SetActiveView(view, false); }
    // Makes the frame the UI module's active main frame.
    void MakeActive();

    // --- frameless tool bars ---
    virtual BOOL InitFramelessToolBars(CRuntimeClass* framelessClass = nullptr);
    FramelessToolBars* GetFramelessToolBars() const { return m_frameless.get(); }
    // The mask bits of the frameless bars that show now.
    virtual DWORD GetVisibleFramelessToolBars() const;
    // The frameless bars show and hide by the active view's kind and stand over it.
    virtual void UpdateViewDependentToolBars();
    // Takes the frameless bars off a view (attach false) or puts them over it.
    void MoveFramelessToolBars(CView* view, bool attach);
    // The view-type bits of a view (kViewType*); 0 for no view or one of no known kind.
    virtual DWORD GetViewTypes(CView* view) const;

    // --- selection filters ---
    // The program's frame overrides these to reach its own copies of the buttons too, calling
    // the base first.
    virtual void BeginSelectionFilterConfiguration() { m_filters.BeginConfiguration(); }
    virtual void EndSelectionFilterConfiguration() { m_filters.EndConfiguration(); }
    virtual void SetSelectionFilterSet(int set);
    int GetSelectionFilterSet() const { return m_filters.GetSet(); }
    virtual void ShowSelectionFilterButton(UINT id, bool show) { m_filters.ShowButton(id, show); }
    virtual void HideAllSelectionFilterButtons() { m_filters.HideAllButtons(); }
    virtual void SetSelectionFilterButtonIconAndToolTip(UINT id, int icon, unsigned toolTipId) {
        m_filters.SetIconAndToolTip(id, icon, toolTipId);
    }
    virtual void SetSelectionFilterButtonIconAndToolTip(UINT id, int icon, const std::wstring& toolTip) {
        m_filters.SetIconAndToolTip(id, icon, toolTip);
    }
    virtual void SetSelectionFilterButtonProperties(UINT id, int icon, unsigned toolTipId, bool enabled,
                                                    bool ticked);
    virtual void SetSelectionFilterButtonProperties(UINT id, int icon, const std::wstring& toolTip,
                                                    bool enabled, bool ticked);
    virtual void SetSelectionFilterButtonState(UINT id, bool enabled, bool ticked) {
        m_filters.SetState(id, enabled, ticked);
    }
    // The filters follow a view and its running command: the selection-filter bar shows while
    // a filter set is active over a drawing view. `force` shows the buttons again even when
    // nothing changed.
    virtual void UpdateSelectionFilters(CView* view, int command, bool force);
    // The frameless bar that shows the filter buttons.
    void SetSelectionFilterToolBar(FramelessToolBar* bar);
    FramelessToolBar* GetSelectionFilterToolBar() const { return m_filterBar; }
    const SelectionFilters& GetSelectionFilters() const { return m_filters; }

    // --- controls ---
    // A control the frame makes itself for an id and XML tag; none here.
    virtual CXTPControl* CreateCustomControl(UINT id, const std::wstring& tag, CXTPCommandBar* bar) {
        return nullptr;
    }
    // The control of an XML definition, for the definitions' control factories: the one above
    // asked with the definition's id and its state name when it has one, else its tag.
    CXTPControl* CreateCustomControl(const XML::Control& definition, CXTPCommandBar* bar);
    // While blocked, new controls get no hints (captions of commands still loading).
    void BlockControlHints(bool block) { m_hintBlocks += block ? 1 : (m_hintBlocks > 0 ? -1 : 0); }
    bool AreControlHintsBlocked() const { return m_hintBlocks > 0; }

    // --- panes ---
    // The window the properties pane shows until a document gives it its properties.
    CWnd* GetPropertiesWindowPlaceholder(bool create);
    // Takes the content out of a pane of this frame (parked when `park`).
    CWnd* DetachDockingPaneChildWindow(int paneId, bool park);
    // Every pane content leaves the frame, parked, so that shared pane windows outlive it.
    void DetachDockingPaneChildWindows();
    // The content a pane of the frame should show, when it asks; none here.
    virtual CWnd* GetDockingPaneWindow(CXTPDockingPane* pane) { return nullptr; }
    // A pane of the frame needs its content: the frame's GetDockingPaneWindow gives it.
    virtual void AttachPaneWindow(CXTPDockingPane* pane);

    // The frameless tool bars that take the auto-menu bars' icon size; null while the program's
    // frame has not made them.
    virtual FramelessToolBar* GetFramelessAutoMenuToolBar() const { return nullptr; }
    virtual FramelessToolBar* GetFramelessViewToolBar() const { return nullptr; }
    virtual FramelessToolBar* GetEditInPlaceToolBar() const { return nullptr; }
    virtual FramelessToolBar* GetDrawingViewToolBar() const { return nullptr; }
    virtual FramelessToolBar* GetFeaTaskModelToolBar() const { return nullptr; }

    // The command running in the frame's active document; 0 when none runs.
    virtual int GetActiveCommandId() const { return 0; }

    // The status line of the frame for the kernel; none here.
    virtual StatusLineProxy* GetStatusLineProxy() { return nullptr; }

    void RecalcLayout(BOOL bNotify = TRUE) override;

protected:
    void RecalcLayoutNow() override;
    void ApplyTheme(int theme) override;

    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnDestroy();
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    LRESULT OnDockingPaneNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    DockingPaneManager* m_panes = nullptr;
    CView* m_activeView = nullptr;
    HWND m_activeViewWindow = nullptr; // how a view destroyed meanwhile is told from a live one
    std::unique_ptr<FramelessToolBars, void (*)(FramelessToolBars*)> m_frameless{nullptr, nullptr};
    std::unique_ptr<CWnd> m_propertiesPlaceholder;
    SelectionFilters m_filters;
    FramelessToolBar* m_filterBar = nullptr;
    int m_hintBlocks = 0;
};

// The frame the program's main frame derives from.
class MdiMainFrame : public GenericMainFrame {
    DECLARE_DYNAMIC(MdiMainFrame)
};

} // namespace Dravik::UI

DV_EXPORTS_END
