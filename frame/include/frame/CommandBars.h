// The main frame's command bars: the set of bars with its tool-bar list and the fix toggle of a
// bar's gripper, the set with the main menu bar and the ribbon, the program's tool bars and the
// button that stands in split-button popups.
#pragma once

#include "frame/ToolBarList.h"

#include "DravikUI/GenericMainFrame.h"
#include "DravikUI/ToolBars.h"
#include "XTToolkitPro.h"
#include "afxwin.h"
#include "pal/visibility.h"

#include <functional>
#include <vector>

DV_EXPORTS_BEGIN

class CDVCommandBars : public CXTPCommandBars {
    DECLARE_DYNCREATE(CDVCommandBars)
public:
    // Its tips are command cards.
    CDVCommandBars();

    bool IsToolBarContextMenuEnabled() const { return m_toolBarContextMenu; }
    void EnableToolBarContextMenu(bool enable) { m_toolBarContextMenu = enable; }

    // The bars of the list popup while it is shown (empty otherwise); item 700 + i is entry i.
    const std::vector<ToolBarListEntry>& GetToolBarList() const { return m_toolBarList; }
    UINT GetListedBarId(UINT command) const { return ToolBarListCommandBar(m_toolBarList, command); }

    void ContextMenu(CXTPToolBar* pToolBar, CPoint point) override;
    CXTPPopupBar* GetToolbarsPopup() override;
    CXTPToolBar* AddCustomBar(LPCWSTR lpszName, UINT nID, BOOL bTearOffBar = FALSE) override;
    void OnTrackingModeChanged(CXTPCommandBar* pCommandBar, int bMode) override;

    // Whether a point (screen) lies on the gripper of a docked fixable bar: there the bar's
    // right-click menu offers only the fix toggle.
    static bool IsOnGripper(CXTPToolBar* bar, CPoint point);
    // The popup of that menu: one button that fixes or frees the bar.
    CXTPPopupBar* CreateFixMenu(CXTPToolBar* bar);

protected:
    // The menu the list popup is made from (its first item a submenu for the bars): the
    // application's menu 1100 from its resources. The caller destroys it.
    virtual HMENU LoadToolBarListMenu();
    // The group of a listed bar: 0 for ordinary bars; application bars give their own.
    virtual bool ClassifyListedBar(CXTPToolBar* bar, std::int32_t& group) {
        group = 0;
        return true;
    }

private:
    bool m_toolBarContextMenu = true;
    std::vector<ToolBarListEntry> m_toolBarList;
};

// Where the application's menus come from: a new menu for a resource id, or null.
using ToolBarListMenuSource = std::function<HMENU(UINT menuId)>;
void SetToolBarListMenuSource(ToolBarListMenuSource source);

// A floating bar outside every monitor moves onto the nearest one, and keeps that place when the
// bars are laid out again; false when it was on a monitor already.
bool KeepFloatingBarOnScreen(CXTPToolBar* bar);

class CDVAutoMenuCommandBars : public CDVCommandBars {
    DECLARE_DYNCREATE(CDVAutoMenuCommandBars)
public:
    // The auto-menu bars' tips stay plain: their buttons are the kernel's, without cards.
    CDVAutoMenuCommandBars();
};

class CDVRibbonCommandBars : public CDVCommandBars {
    DECLARE_DYNCREATE(CDVRibbonCommandBars)
public:
    // The ribbon in ribbon mode, the main menu bar otherwise (as far as they have been made).
    CXTPMenuBar* GetMenuBar() const override;
    // Made on first use.
    CXTPMenuBar* GetMainMenuBar();
    CXTPRibbonBar* GetRibbonBar();
    bool IsRibbonMode() const { return m_ribbonMode; }
    void SetRibbonMode(bool ribbon);
    void OnToolBarRemoved(CXTPToolBar* pToolBar) override;

protected:
    // The program's ribbon (DVRibbonBar).
    virtual CXTPRibbonBar* CreateRibbonBar();

private:
    CXTPMenuBar* m_mainMenuBar = nullptr;
    CXTPRibbonBar* m_ribbonBar = nullptr;
    bool m_ribbonMode = false;
};

// The frameless tool bars of a main frame, as the program makes them.
class CDVFramelessToolBars : public Dravik::UI::FramelessToolBars {
    DECLARE_DYNCREATE(CDVFramelessToolBars)
public:
    // Its buttons show the same command cards as the frame's own bars.
    CDVFramelessToolBars();
};

class CDVToolBar : public Dravik::UI::FixableToolBar {
    DECLARE_DYNCREATE(CDVToolBar)
public:
    // The bar's own controls, each group after the first opened by a separator; a control with a
    // popup carries the popup's corner triangle.
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    CXTPCommandBar* Clone(BOOL bRecursive = FALSE) override;
    // Until its main window has shown for the first time, the bar's layout is always written.
    BOOL ShouldSerializeBar() override;
};

// A button inside a popup: some commands are posted to the frame rather than run in place; a
// chosen command becomes the split button's own; the expand button (1202) puts the popup's
// commands on the tool bar.
class CDVControlButton : public CXTPControlButton {
    DECLARE_DYNCREATE(CDVControlButton)
public:
    static constexpr int kExpandId = 1202;
    void OnExecute() override;
};

DV_EXPORTS_END
