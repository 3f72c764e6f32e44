#include "frame/CommandBars.h"

#include "frame/MainFrame.h"
#include "frame/TabToolBar.h"
#include "ribbon/ExtendedToolTip.h"
#include "ribbon/RibbonBar.h"

#include "frame/ControlTable.h"

#include "DVPDMProxy/WorkMix.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/KernelServices.h"
#include "DravikUI/CommandBarHelpers.h"
#include "DravikUI/Windows.h"
#include "win/user/menu.h"

#include <algorithm>

namespace {

constexpr UINT kToolBarListMenu = 1100;
constexpr UINT kThemesCaption = 42295;
constexpr DWORD kMainMenuBarFlags = 9216;

ToolBarListMenuSource& toolBarListMenuSource() {
    static ToolBarListMenuSource source;
    return source;
}

// The main menu bar, fixable like the tool bars.
class CDVMenuBar : public Dravik::UI::GenericFixableToolBar<CXTPMenuBar> {
public:
    // Changes of the MDI children concern the active child's system buttons: the hook hears them
    // with that child's window.
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override {
        switch (nMessage) {
        case WM_SIZE:
        case WM_WINDOWPOSCHANGED:
        case WM_MDIDESTROY:
        case WM_MDIACTIVATE:
        case WM_MDIRESTORE:
        case WM_MDIMAXIMIZE:
        case WM_MDITILE:
        case WM_MDICASCADE:
            if (auto* frame = dynamic_cast<CMDIFrameWnd*>(GetSite()); frame && frame->m_hWndMDIClient) {
                const auto child = reinterpret_cast<HWND>(
                    DravikSafeSendMessage(frame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
                if (::IsWindow(child)) {
                    RefreshSysButtons();
                    return CXTPMenuBar::OnHookMessage(child, nMessage, wParam, lParam, lResult);
                }
            }
            break;
        default:
            break;
        }
        return CXTPMenuBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
    }
    // The bar brings its controls up to date in one go, drawn once at the end.
    void OnIdleUpdateCmdUI() override {
        Dravik::UI::LockRedraw(this);
        CXTPMenuBar::OnIdleUpdateCmdUI();
        Dravik::UI::UnlockRedraw(this);
    }
    CXTPCommandBar* Clone(BOOL bRecursive) override {
        auto* bar = new CDVMenuBar;
        bar->SetCommandBars(GetCommandBars());
        bar->Copy(this, bRecursive);
        return bar;
    }
};

// The one button of a bar's gripper menu: fixes the bar, or frees it.
class ToggleToolBarFixtureButton : public CXTPControlButton {
public:
    explicit ToggleToolBarFixtureButton(CXTPToolBar* bar) : m_bar(bar) {}
    void OnExecute() override {
        Dravik::UI::Fix(m_bar, !GetChecked());
        CXTPControlButton::OnExecute();
    }

private:
    CXTPToolBar* m_bar;
};

void setPopupBehaviour(CXTPCommandBar* bar) {
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i) {
        CXTPControl* control = bar->GetControls()->GetAt(i);
        const int id = control->GetID();
        if ((id >= 700 && id <= 749) || (id >= 781 && id <= 826))
            control->SetCloseSubMenuOnClick(FALSE);
        if ((id >= 700 && id <= 749) || (id >= 3401 && id <= 3449))
            control->SetStyle(xtpButtonCaption);
        if (auto* popup = dynamic_cast<CXTPControlPopup*>(control); popup && popup->GetCommandBar())
            setPopupBehaviour(popup->GetCommandBar());
    }
}

std::vector<int> controlIds(CXTPCommandBar* bar) {
    std::vector<int> ids;
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i)
        ids.push_back(bar->GetControls()->GetAt(i)->GetID());
    return ids;
}

// The tool bar at the root of a control's bar: the bar itself or the bar whose popup holds it.
CXTPToolBar* rootToolBar(CXTPCommandBar* bar) {
    return bar != nullptr ? dynamic_cast<CXTPToolBar*>(bar->GetRootParent()) : nullptr;
}

// The split button remembers the last command chosen from it.
void adoptChosenCommand(CXTPToolBar* root, int id) {
    for (int i = 0; i < root->GetControls()->GetCount(); ++i) {
        auto* split = dynamic_cast<CXTPControlPopup*>(root->GetControls()->GetAt(i));
        if (split == nullptr || split->GetType() != xtpControlSplitButtonPopup || !split->IsVisible() ||
            split->GetCommandBar() == nullptr)
            continue;
        CXTPControl* chosen = split->GetCommandBar()->GetControls()->FindControl(id);
        if (chosen == nullptr)
            continue;
        const std::wstring caption = GetStrWithoutCommandLetters(chosen->GetCaption().GetString());
        split->SetID(id);
        split->SetCaption(caption.c_str());
        split->SetTooltip(caption.c_str());
        split->DelayLayoutParent();
        return;
    }
}

// The popup's commands take the popup's place on the tool bar.
void expandPopup(CXTPToolBar* root, const std::vector<int>& popupIds,
                 const std::vector<std::wstring>& captions) {
    CXTPControls* controls = root->GetControls();
    for (int i = 0; i < controls->GetCount(); ++i) {
        auto* popup = dynamic_cast<CXTPControlPopup*>(controls->GetAt(i));
        if (popup == nullptr || !popup->IsVisible() || popup->GetCommandBar() == nullptr ||
            controlIds(popup->GetCommandBar()) != popupIds)
            continue;
        const int at = popup->GetIndex();
        controls->Remove(popup);
        const std::size_t count = popupIds.empty() ? 0 : popupIds.size() - 1; // the expand button stays out
        for (std::size_t k = 0; k < count; ++k) {
            CXTPControl* button =
                controls->Add(new CDVControlButton, popupIds[k], L"", at + static_cast<int>(k));
            button->SetTooltip(GetStrWithoutCommandLetters(captions[k]).c_str());
            button->SetBeginGroup(k == 0);
            AdoptIntoCurrentTab(root, button);
        }
        for (int next = at + static_cast<int>(count); next < controls->GetCount(); ++next)
            if (controls->GetAt(next)->IsVisible()) {
                controls->GetAt(next)->SetBeginGroup(TRUE);
                break;
            }
        root->DelayLayout();
        return;
    }
}

} // namespace

IMPLEMENT_DYNCREATE(CDVCommandBars, CXTPCommandBars)
IMPLEMENT_DYNCREATE(CDVAutoMenuCommandBars, CDVCommandBars)
IMPLEMENT_DYNCREATE(CDVRibbonCommandBars, CDVCommandBars)
IMPLEMENT_DYNCREATE(CDVToolBar, Dravik::UI::FixableToolBar)
IMPLEMENT_DYNCREATE(CDVFramelessToolBars, Dravik::UI::FramelessToolBars)
IMPLEMENT_DYNCREATE(CDVControlButton, CXTPControlButton)

CDVCommandBars::CDVCommandBars() {
    SetToolTipContext(new CDVToolTipContext(this));
}

CDVFramelessToolBars::CDVFramelessToolBars() {
    SetToolTipContext(new CDVToolTipContext(this));
}

CDVAutoMenuCommandBars::CDVAutoMenuCommandBars() {
    SetToolTipContext(new CXTPToolTipContext);
}

bool CDVCommandBars::IsOnGripper(CXTPToolBar* bar, CPoint point) {
    if (bar == nullptr || !::IsWindow(bar->GetSafeHwnd()) || bar->GetPosition() == xtpBarFloating)
        return false;
    CRect window;
    ::GetWindowRect(bar->GetSafeHwnd(), &window);
    const CRect gripper = bar->GetGripperRect();
    if (bar->GetPosition() == xtpBarTop || bar->GetPosition() == xtpBarBottom)
        return point.y >= window.top && point.y < window.bottom && point.x >= window.left &&
               point.x < window.left + gripper.Width();
    return point.x >= window.left && point.x < window.right && point.y >= window.top &&
           point.y < window.top + gripper.Height();
}

CXTPPopupBar* CDVCommandBars::CreateFixMenu(CXTPToolBar* bar) {
    CXTPPopupBar* popup = CXTPPopupBar::CreatePopupBar(this);
    CXTPControl* toggle = popup->GetControls()->Add(new ToggleToolBarFixtureButton(bar), 0);
    toggle->SetCaption(Dravik::I18n::Translate("panels.context_menu.fix").c_str());
    toggle->SetChecked(Dravik::UI::IsFixed(bar));
    toggle->SetFlags(toggle->GetFlags() | xtpFlagManualUpdate);
    return popup;
}

void CDVCommandBars::ContextMenu(CXTPToolBar* pToolBar, CPoint point) {
    if (!m_toolBarContextMenu || IsCustomizeMode())
        return;
    if (Dravik::UI::IsFixable(pToolBar) && IsOnGripper(pToolBar, point)) {
        ClosePopups();
        CXTPPopupBar* popup = CreateFixMenu(pToolBar);
        TrackPopupMenu(popup, 0, point.x, point.y);
        popup->InternalRelease();
        return;
    }
    // The list's items are the frame's commands: the chosen one runs while the list it names
    // is still known, though tracking has ended.
    CXTPPopupBar* popup = GetToolbarsPopup();
    const std::vector<ToolBarListEntry> listed = m_toolBarList;
    const int chosen =
        popup->GetControlCount() > 0 ? TrackPopupMenu(popup, TPM_RETURNCMD, point.x, point.y) : 0;
    popup->InternalRelease();
    CWnd* site = GetSite();
    if (chosen == 0 || site == nullptr || !::IsWindow(site->GetSafeHwnd()))
        return;
    m_toolBarList = listed;
    site->SendMessage(WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    m_toolBarList.clear();
}

HMENU CDVCommandBars::LoadToolBarListMenu() {
    const ToolBarListMenuSource& source = toolBarListMenuSource();
    return source ? source(kToolBarListMenu) : nullptr;
}

void SetToolBarListMenuSource(ToolBarListMenuSource source) {
    toolBarListMenuSource() = std::move(source);
}

CXTPPopupBar* CDVCommandBars::GetToolbarsPopup() {
    m_toolBarList.clear();
    HMENU menu = LoadToolBarListMenu();
    HMENU submenu = menu != nullptr ? GetSubMenu(menu, 0) : nullptr;
    if (submenu == nullptr) {
        if (menu != nullptr)
            DestroyMenu(menu);
        return CXTPCommandBars::GetToolbarsPopup();
    }
    if (!DVPDMWorkMix::Instance().IsEnabled())
        PruneMenu(submenu, PdmPaneToggleCommands());
    else
        NamePdmPaneToggles(submenu, [](UINT command) {
            return CFrameToolsEngine::GetPaneCaption(CFrameToolsEngine::GetPaneIdOfCommand(command));
        });
    for (int i = 0; i < GetCount(); ++i) {
        CXTPToolBar* bar = GetAt(i);
        std::int32_t group = 0;
        if (IsToolBarListed(this, bar) && ClassifyListedBar(bar, group))
            m_toolBarList.push_back(
                {group, bar->GetBarID(), bar->GetTitle().GetString(), bar->IsVisible() != FALSE});
    }
    SortToolBarList(m_toolBarList);
    FillToolBarListMenu(submenu, m_toolBarList);
    HMENU themes = CreatePopupMenu();
    if (MainFrameApplication* application = MainFrameApplication::Instance())
        application->AppendThemeMenuItems(themes);
    if (GetMenuItemCount(themes) > 0)
        AppendMenuW(submenu, MF_POPUP, reinterpret_cast<UINT_PTR>(themes),
                    DVLoadString(kThemesCaption).c_str());
    else
        DestroyMenu(themes);
    CXTPPopupBar* popup = CXTPPopupBar::CreatePopupBar(this);
    CMenu wrapper;
    wrapper.Attach(submenu);
    popup->GetControls()->LoadMenu(&wrapper);
    wrapper.Detach();
    DestroyMenu(menu);
    setPopupBehaviour(popup);
    return popup;
}

CXTPToolBar* CDVCommandBars::AddCustomBar(LPCWSTR lpszName, UINT nID, BOOL bTearOffBar) {
    return CXTPCommandBars::AddCustomBar(lpszName, nID, bTearOffBar);
}

void CDVCommandBars::OnTrackingModeChanged(CXTPCommandBar* pCommandBar, int bMode) {
    CXTPCommandBars::OnTrackingModeChanged(pCommandBar, bMode);
    if (!bMode && pCommandBar != nullptr && pCommandBar->IsPopupBar() &&
        pCommandBar->GetCommandBars() == this)
        m_toolBarList.clear();
}

CXTPMenuBar* CDVRibbonCommandBars::GetMenuBar() const {
    // The tool kit asks for the menu bar from inside the frame's messages, adding a bar among
    // them: the getter names the bar made so far and never makes one.
    return m_ribbonMode ? static_cast<CXTPMenuBar*>(m_ribbonBar) : m_mainMenuBar;
}

CXTPMenuBar* CDVRibbonCommandBars::GetMainMenuBar() {
    if (m_mainMenuBar != nullptr)
        return m_mainMenuBar;
    for (int i = GetCount() - 1; i >= 0; --i) {
        CXTPToolBar* bar = GetAt(i);
        if (dynamic_cast<CXTPMenuBar*>(bar) != nullptr && dynamic_cast<CXTPRibbonBar*>(bar) == nullptr)
            Remove(bar); // a stale menu bar
    }
    auto* bar = new CDVMenuBar;
    if (!Add(bar, Dravik::I18n::Translate("panels.main_menu").c_str(), xtpBarTop))
        return nullptr;
    bar->SetBarID(1);
    bar->SetFlags(kMainMenuBarFlags, 0);
    bar->SetCloseable(TRUE);
    bar->EnableCustomization(FALSE);
    bar->SetVisible(!m_ribbonMode);
    m_mainMenuBar = bar;
    return bar;
}

CXTPRibbonBar* CDVRibbonCommandBars::CreateRibbonBar() {
    return new DVRibbonBar;
}

CXTPRibbonBar* CDVRibbonCommandBars::GetRibbonBar() {
    if (m_ribbonBar != nullptr)
        return m_ribbonBar;
    CXTPRibbonBar* ribbon = CreateRibbonBar();
    if (ribbon == nullptr || !Add(ribbon, Dravik::I18n::Translate("panels.ribbon").c_str(), xtpBarTop))
        return nullptr;
    ribbon->SetBarID(1);
    ribbon->EnableDocking(0);
    ribbon->SetContextMenuPresent(FALSE);
    ribbon->SetCloseable(FALSE);
    ribbon->SetVisible(m_ribbonMode);
    m_ribbonBar = ribbon;
    return ribbon;
}

void CDVRibbonCommandBars::SetRibbonMode(bool ribbon) {
    m_ribbonMode = ribbon;
    EnableToolBarContextMenu(!ribbon);
    if (CXTPMenuBar* menu = GetMainMenuBar()) {
        menu->SetContextMenuPresent(!ribbon);
        menu->SetVisible(!ribbon);
    }
    if (CXTPRibbonBar* bar = GetRibbonBar()) {
        bar->SetVisible(ribbon);
        bar->DelayLayout();
    }
    if (CXTPCommandBarsOptions* options = GetCommandBarsOptions())
        options->bShowRibbon = ribbon;
}

void CDVRibbonCommandBars::OnToolBarRemoved(CXTPToolBar* pToolBar) {
    CDVCommandBars::OnToolBarRemoved(pToolBar);
    if (pToolBar == m_mainMenuBar)
        m_mainMenuBar = nullptr;
    if (pToolBar == m_ribbonBar)
        m_ribbonBar = nullptr;
}

void CDVToolBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
    CXTPPaintManager* paint = CXTPPaintManager::Current();
    paint->FillCommandBarEntry(pDC, this);
    const CRect gripper = GetGripperRect();
    if (!gripper.IsRectEmpty() && (IsShowGripper() || GetPosition() == xtpBarFloating))
        paint->DrawGripper(pDC, this, gripper);
    CFont* oldFont = pDC->SelectObject(paint->GetRegularFont());
    bool first = true;
    for (int i = 0; i < GetControlCount(); ++i) {
        CXTPControl* control = GetControl(i);
        if (!control->IsVisible() || control->GetParent() != this || control->GetRect().IsRectEmpty())
            continue;
        if (control->GetBeginGroup() && !first)
            paint->DrawSeparator(pDC, this, control, IsHorizontal());
        first = false;
        CRect meet;
        if (!meet.IntersectRect(&rcClipBox, control->GetRect()))
            continue;
        control->Draw(pDC);
        if (control->GetType() == xtpControlButtonPopup)
            Dravik::UI::DrawPopupTriangle(pDC, control);
    }
    pDC->SelectObject(oldFont);
}

CXTPCommandBar* CDVToolBar::Clone(BOOL bRecursive) {
    auto* bar = new CDVToolBar;
    bar->SetCommandBars(GetCommandBars());
    bar->Copy(this, bRecursive);
    return bar;
}

BOOL CDVToolBar::ShouldSerializeBar() {
    if (!CDVTabToolBar::IsMainWindowShown(GetSite()))
        return TRUE;
    return FixableToolBar::ShouldSerializeBar();
}

void CDVControlButton::OnExecute() {
    const int id = GetID();
    CXTPCommandBar* parent = GetParent();
    if (IsDeferredPopupCommand(id)) {
        if (CWnd* site = parent != nullptr ? parent->GetSite() : nullptr)
            site->PostMessage(WM_COMMAND, static_cast<WPARAM>(id), 0);
        if (parent != nullptr && ::IsWindow(parent->GetSafeHwnd()))
            ::PostMessageW(parent->GetSafeHwnd(), WM_IDLEUPDATECMDUI, 0, 0);
        return;
    }
    // The command may rebuild the bars and this button with them: what the steps after it need
    // is taken now, and the root bar is found again by its window afterwards.
    CXTPToolBar* root = rootToolBar(parent);
    const HWND rootWindow = root != nullptr ? root->GetSafeHwnd() : nullptr;
    std::vector<int> popupIds;
    std::vector<std::wstring> captions;
    if (parent != nullptr)
        for (int i = 0; i < parent->GetControls()->GetCount(); ++i) {
            popupIds.push_back(parent->GetControls()->GetAt(i)->GetID());
            captions.push_back(parent->GetControls()->GetAt(i)->GetCaption().GetString());
        }
    CXTPControlButton::OnExecute();
    if (id == 1811 || rootWindow == nullptr || !::IsWindow(rootWindow))
        return;
    root = dynamic_cast<CXTPToolBar*>(CWnd::FromHandlePermanent(rootWindow));
    if (root == nullptr)
        return;
    if (id != kExpandId)
        adoptChosenCommand(root, id);
    else
        expandPopup(root, popupIds, captions);
}

bool KeepFloatingBarOnScreen(CXTPToolBar* bar) {
    if (bar == nullptr || !::IsWindow(bar->GetSafeHwnd()) || bar->GetPosition() != xtpBarFloating)
        return false;
    CRect rect;
    ::GetWindowRect(bar->GetSafeHwnd(), &rect);
    if (!Dravik::UI::EnsureIsVisible(static_cast<RECT&>(rect), false))
        return false;
    bar->SetFloatingPosition(rect.TopLeft());
    bar->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}
