// The ribbon of a main frame: the library's ribbon (tabs and groups that carry GUIDs and tags)
// drawing the command bars' icons, with the PDM popup of its caption row once the frame set it up.
#pragma once

#include "DravikUI/Ribbon.h"
#include "afxwin.h"
#include "pal/visibility.h"
#include "panels/DataExchange.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

DV_EXPORTS_BEGIN

class CDocument;
class CDvw32Doc;
class CView;
class CXTPRibbonBackstageTab;
class DVRibbonBackstagePrintPage;
class DVRibbonExportBackstagePage;
class DVRibbonExportOrsaBackstagePage;
class DVRibbonNewDocumentBackstagePage;
class RecentFilesBackstagePage;
class RibbonBackstageView;
class RibbonTabControl;

class DVRibbonBar : public Dravik::UI::RibbonBar {
    DECLARE_DYNCREATE(DVRibbonBar)
public:
    // The PDM popup's control id.
    static constexpr int kOrsaPopupId = 0x10000;

    // The File button (a RibbonSystemButton with its backstage view) and the tab strip (a
    // RibbonTabControl) stand in for the tool kit's own.
    DVRibbonBar();
    // The pages go before the ribbon; managed controls before their pages.
    ~DVRibbonBar() override;
    RibbonBackstageView* GetRibbonBackstageView() const;

    // The right-click menus: a control's (with its group's entries when the control stands in
    // one, and the selected tab's), and the list of a tab's groups to show or hide (null for a
    // tab without groups a person may hide).
    CXTPPopupBar* CreateContextMenu(CXTPControl* control, CXTPRibbonGroup* group);
    static CXTPPopupBar* CreateTabGroupsPopup(CXTPRibbonTab* tab, CXTPCommandBars* bars);
    // The menu a right click at a point (client coordinates) opens; null where the tool kit's
    // own menu or the frame's system menu opens instead.
    CXTPPopupBar* BuildContextMenu(CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The icon sizes, scaled with the screen's dpi while the command bars scale bitmaps.
    CSize GetIconSize() const override;
    CSize GetLargeIconSize() const override;

    // The command's icon from the command bars' images (another size when the command has none
    // of this one); none when the command has no icon.
    HICON GetControlIcon(CXTPControl* control, int size) override;

    // Null until the frame's set-up added it.
    CXTPControlPopup* GetOrsaPopup() const { return m_orsaPopup; }
    void SetOrsaPopup(CXTPControlPopup* popup) { m_orsaPopup = popup; }

    // The first library tab with the GUID (braced text form); null when none has it.
    Dravik::UI::RibbonTab* FindTabByGuid(std::wstring_view guid) const;
    // The same for a GUID; null for no ribbon.
    static Dravik::UI::RibbonTab* FindTabByGuid(CXTPRibbonBar* ribbon, const GUID& guid);

    // The popups above a control, outermost first.
    using ControlPath = std::vector<CXTPControlPopup*>;
    // Every control of every group of every tab (hidden ones too), then those of the tab strip's
    // popup; with `recurse` the controls inside their popups as well, each popup before what it
    // holds.
    void ForEachControl(const std::function<void(CXTPControl*)>& action, bool recurse) const;
    // The same walk, recursive, with the popups above each control.
    void ForEachControlWithPath(const std::function<void(CXTPControl*, const ControlPath&)>& action) const;
    // The copies in a collapsed tab's popup, group by group.
    static void ForEachControlWithPath(CXTPRibbonTabPopupToolBar* popup,
                                       const std::function<void(CXTPControl*, const ControlPath&)>& action);
    void ForEachGroup(const std::function<void(CXTPRibbonGroup*)>& action) const;
    // The controls of a control's popup bar; null for a control without one.
    static CXTPControls* GetPopupControls(CXTPControl* control);
    // The popups that lead from the ribbon to the control: the tabs' groups, then the quick
    // access bar, then the tab strip's popup. Empty for a control that sits in a group itself
    // or that the ribbon does not hold.
    ControlPath GetControlPath(const CXTPControl* control) const;

    // The copies of the system-panel controls (ids 904-999): reset and disabled, but 912. Each
    // request locks the ribbon's redrawing meanwhile, so that it is redrawn once; the kernel
    // sets the states of the controls it names from then on (the manual-update flag).
    void DisableSystemPanelControls();
    void EnableControl(int id, bool enable);
    void SetControlState(int id, bool enabled, bool ticked);
    void SetControlDoubleVar(Dravik::DVDocument* document, int id, double value, std::int32_t code);
    void SetControlInt(Dravik::DVDocument* document, int id, std::int32_t value);
    void SetControlIntVar(Dravik::DVDocument* document, int id, int value, std::int32_t code);
    void SetControlValue(Dravik::DVDocument* document, int id, const std::wstring& text);
    // Every other copy of the source's command, at every depth, takes the source's value.
    void PopulateControlData(CXTPControl* source);
    // The value of the control with `id`: the selected tab's visible groups first, then every
    // control; none when no control has the id.
    static const SysPanelValue* GetControlData(CXTPRibbonBar* ribbon, int id);

    // The tabs the active view brings: the view's ribbon tabs first, then the others with the
    // same GUIDs; the contextual tabs of the tool kit and the other view tabs hide. The 3D tab
    // shows only for an active document, the analysis tab for a document with analysis tasks.
    // Null guids[0] means no view; twice in a row changes nothing. `force` brings back tabs the
    // person hid.
    void UpdateViewTabs(const GUID (&guids)[3], bool force, CDocument* activeDocument);
    // Tagged tabs show exactly when one of the document's keywords is among their tags.
    void UpdateContextualTabs(CDocument* document);
    // The three tab GUIDs of a view: the default tab without one.
    static void GetActiveViewRibbonTabs(CView* view, GUID (&guids)[3]);
    static const GUID kDefaultTabGuid;
    static const GUID k3DTabGuid;
    static const GUID kAnalysisTabGuid;

    // The backstage pages, made on first use when `create` is set; null otherwise.
    DVRibbonBackstagePrintPage* GetPrintPage(bool create);
    RecentFilesBackstagePage* GetRecentFilesPage(bool create);
    DVRibbonNewDocumentBackstagePage* GetNewDocumentPage(bool create);
    DVRibbonExportBackstagePage* GetExportPage(bool create);
    DVRibbonExportOrsaBackstagePage* GetExportOrsaPage(bool create);
    // The page a backstage tab of the ribbon's definition names by its state; null for a name
    // the program does not know.
    CWnd* GetBackstagePage(const std::wstring& state);
    // The state name a definition gives a special control: the tabs popup, and the backstage
    // tabs by the page they show; empty for other controls.
    static std::wstring GetSpecialControlStateName(CXTPControl* control);

    // Opens the backstage on the first enabled tab with the id (and that page, when one is
    // given), or switches to it while the backstage is open; false when no such tab is enabled.
    bool ShowBackstageTab(UINT id, CWnd* page);
    // The backstage's active tab while it is open; null otherwise.
    CXTPRibbonBackstageTab* GetActiveBackstageTab() const;
    void CloseBackstage();
    // The view takes its theme, every page of a tab its page theme.
    void SetBackstageTheme(int viewTheme, int pageTheme);
    int GetBackstageTheme() const { return m_backstageTheme; }

    // While above 0, tab changes are not the person's choice.
    bool IsTabChangeSuppressed() const { return m_suppressTabChange > 0; }
    // Selects the tab as the program's choice, not the person's.
    void SelectTab(int index);
    // A tab the person hid cannot be chosen. A hidden selected tab giving way to its
    // neighbour is nobody's choice.
    BOOL OnTabChanging(CXTPRibbonTab* tab) override;
    // The person's choice is kept with the active view, so that the view brings the tab back.
    void OnTabChanged(CXTPRibbonTab* tab) override;

    // A collapsed tab's popup, its copies of the parameter controls showing their sources'
    // values.
    CXTPRibbonTabPopupToolBar* CreateTabPopupToolBar(CXTPRibbonTab* tab) override;

    // The frame's activation redraws the PDM popup; a control that a split-button popup holds
    // and that runs or reports makes the popup take it over when it mirrors its items.
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    // The groups refresh their option buttons after controls changed; the PDM popup goes to
    // the right of the caption row, left of the frame's caption buttons, while it fits there.
    void OnControlsChanged() override;
    void OnRecalcLayout() override;
    void CalcDockingLayout();
    // The tabs popup draws itself in the quick access bar.
    void DrawQuickAccessControl(CDC* pDC, CXTPControl* control) override;

    // The tool kit's copy of another ribbon; the source is customisable while it is copied.
    void Copy(CXTPCommandBar* source, BOOL recursive = FALSE) override;
    CXTPCommandBar* Clone(BOOL recursive = FALSE) override;

private:
    CXTPControls* GetTabControlPopupControls() const;
    CView* GetActiveView() const;
    void AddGroupEntries(CXTPPopupBar* menu, CXTPRibbonGroup* group);
    void SetValue(Dravik::DVDocument* document, int id, const SysPanelValue& value);
    // Every control with the id at every depth, with the ribbon's redraw locked meanwhile.
    void ForEachCopy(int id, const std::function<void(CXTPControl*)>& action);
    void ShowViewTab(Dravik::UI::RibbonTab* tab);
    CXTPControlPopup* m_orsaPopup = nullptr;
    std::unique_ptr<DVRibbonBackstagePrintPage> m_printPage;
    std::unique_ptr<RecentFilesBackstagePage> m_recentFilesPage;
    std::unique_ptr<DVRibbonNewDocumentBackstagePage> m_newDocumentPage;
    std::unique_ptr<DVRibbonExportBackstagePage> m_exportPage;
    std::unique_ptr<DVRibbonExportOrsaBackstagePage> m_exportOrsaPage;
    int m_suppressTabChange = 0;
    bool m_controlsChanged = false;
    bool m_givingWay = false;
    std::unordered_set<const CXTPRibbonTab*> m_laidOutTabs;

    bool m_noView = true;
    int m_backstageTheme = -1;
};

DV_EXPORTS_END
