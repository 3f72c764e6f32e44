#include "frame/FindInToolBars.h"

#include "frame/MainFrame.h"
#include "frame/TabToolBar.h"
#include "ribbon/RibbonBar.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikUI/GenericMainFrame.h"
#include "DravikUI/PopupControls.h"
#include "DravikUI/ToolBars.h"
#include "XTToolkitPro.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// Reasons for hiding that leave a control findable: those of the bar's own layout.
constexpr DWORD kSkipHideFlags = 0xAA;
constexpr int kPseudoMenuBarId = 900;

struct Path {
    size_t parent = 0;
    bool valid = false;
};

using OnFound = std::function<void()>;

bool isVisible(const CXTPControl* control, bool ignoreGeneric) {
    DWORD flags = control->GetHideFlags() & ~kSkipHideFlags;
    if (ignoreGeneric)
        flags &= ~static_cast<DWORD>(xtpHideGeneric);
    return flags == 0;
}

CXTPControlPopup* popupOf(CXTPControl* control) {
    const XTPControlType type = control->GetType();
    if (type != xtpControlPopup && type != xtpControlButtonPopup && type != xtpControlSplitButtonPopup)
        return nullptr;
    auto* popup = dynamic_cast<CXTPControlPopup*>(control);
    return popup != nullptr && popup->GetCommandBar() != nullptr ? popup : nullptr;
}

class ToolBarSearch {
public:
    ToolBarSearch(CMainFrame* frame, int id) : m_frame(frame), m_id(id) {}

    bool Run() { return searchRibbon() || searchTabToolBar() || searchMenuBar() || searchOtherBars(); }

private:
    struct Entry {
        CXTPControlPopup* popup;
        Path path;
    };

    // One control of a bar: found and revealed (true), or its popup queued for later.
    bool test(CXTPControl* control, Path path, const OnFound& onFound, bool transientCounts,
              bool ignoreGeneric = false) {
        if (control == nullptr || (control->IsTemporary() && !transientCounts) ||
            !isVisible(control, ignoreGeneric))
            return false;
        if (control->GetID() == m_id && reveal(control, path, onFound))
            return true;
        if (CXTPControlPopup* popup = popupOf(control))
            m_pending.push_back(Entry{popup, path});
        return false;
    }

    // The popups queued so far, breadth first, with those queued meanwhile. A list of the panes
    // is filled here once per search and kept from filling itself again while it is opened to
    // show what was found in it; its own filling comes back when the walk ends.
    bool walkPending(const OnFound& onFound) {
        bool found = false;
        std::vector<Dravik::UI::DockingPanesPopup*> held;
        for (size_t i = 0; i < m_pending.size() && !found; ++i) {
            CXTPControlPopup* popup = m_pending[i].popup;
            auto* panes = dynamic_cast<Dravik::UI::DockingPanesPopup*>(popup);
            if (panes != nullptr && panes->IsPendingFill()) {
                panes->SetPendingFill(false);
                held.push_back(panes);
                if (std::find(m_refilled.begin(), m_refilled.end(), panes) == m_refilled.end()) {
                    m_refilled.push_back(panes);
                    panes->UpdateControls();
                }
            }
            CXTPCommandBar* bar = popup->GetCommandBar();
            if (bar == nullptr)
                continue;
            for (int c = 0; c < bar->GetControlCount() && !found; ++c)
                found = test(bar->GetControl(c), Path{i, true}, onFound, panes != nullptr);
        }
        for (Dravik::UI::DockingPanesPopup* panes : held)
            panes->SetPendingFill(true);
        m_pending.clear();
        return found;
    }

    bool searchControls(CXTPControls* controls, const OnFound& onFound) {
        if (controls == nullptr)
            return false;
        for (int i = 0; i < controls->GetCount(); ++i)
            if (test(controls->GetAt(i), Path{}, onFound, false))
                return true;
        return walkPending(onFound);
    }

    bool searchTab(CXTPRibbonTab* tab, const OnFound& onFound) {
        if (CXTPRibbonGroups* groups = tab->GetGroups())
            for (int g = 0; g < groups->GetCount(); ++g) {
                CXTPRibbonGroup* group = groups->GetAt(g);
                if (group == nullptr || !group->IsVisible())
                    continue;
                for (int c = 0; c < group->GetCount(); ++c)
                    if (test(group->GetAt(c), Path{}, onFound, false))
                        return true;
            }
        return walkPending(onFound);
    }

    bool searchRibbon() {
        CXTPRibbonBar* ribbon = m_frame->GetRibbonBar();
        if (ribbon == nullptr || !ribbon->IsVisible())
            return false;
        m_top = ribbon;
        Dravik::UI::PseudoMenuBar* pseudo = nullptr;
        if (ribbon->IsQuickAccessVisible())
            if (CXTPControls* quick = ribbon->GetQuickAccessControls()) {
                for (int i = 0; i < quick->GetCount(); ++i) {
                    CXTPControl* control = quick->GetAt(i);
                    if (control != nullptr && control->GetID() == kPseudoMenuBarId)
                        if (auto* menu = dynamic_cast<Dravik::UI::PseudoMenuBar*>(control)) {
                            pseudo = menu;
                            continue;
                        }
                    if (test(control, Path{}, {}, false))
                        return true;
                }
                if (walkPending({}))
                    return true;
            }
        if (CXTPControls* own = ribbon->GetControls()) {
            for (int i = 0; i < own->GetCount(); ++i) {
                CXTPControl* control = own->GetAt(i);
                if (control != nullptr && (control->GetFlags() & xtpFlagRightAlign) != 0 &&
                    Dravik::UI::IsRibbonFreeControl(control) && test(control, Path{}, {}, false))
                    return true;
            }
            if (walkPending({}))
                return true;
        }
        CXTPRibbonTab* selected = ribbon->GetSelectedTab();
        if (selected != nullptr && searchTab(selected, {}))
            return true;
        for (int t = 0; t < ribbon->GetTabCount(); ++t) {
            CXTPRibbonTab* tab = ribbon->GetTab(t);
            if (tab == nullptr || tab == selected || !tab->IsVisible())
                continue;
            const OnFound select = [ribbon, t] {
                if (auto* own = dynamic_cast<DVRibbonBar*>(ribbon))
                    own->SelectTab(t);
                else
                    ribbon->SetCurSel(t);
            };
            if (searchTab(tab, select))
                return true;
        }
        if (pseudo != nullptr) {
            // The menus copied here are the ones searched and opened: opening the copy must not
            // copy them again under the found item.
            const bool pending = pseudo->IsPendingFill();
            pseudo->SetPendingFill(false);
            pseudo->UpdateControls();
            const bool found = test(pseudo, Path{}, {}, false) || walkPending({});
            pseudo->SetPendingFill(pending);
            return found;
        }
        return false;
    }

    bool searchTabToolBar() {
        CDVTabToolBar* bar = m_frame->GetTabToolBar();
        if (bar == nullptr || !bar->IsVisible())
            return false;
        m_top = bar;
        CXTPTabManager* tabs = bar->GetTabManager();
        const int current = tabs != nullptr ? tabs->GetCurSel() : -1;
        const auto searchCategory = [&](int index, const OnFound& onFound) {
            const CString caption = tabs->GetItem(index)->GetCaption();
            if (caption.IsEmpty())
                return false;
            // The controls of a tab that is not current are hidden by the tab switch alone.
            const bool other = index != current;
            for (int i = 0; i < bar->GetControlCount(); ++i) {
                CXTPControl* control = bar->GetControl(i);
                if (control != nullptr && control->GetCategory() == caption &&
                    test(control, Path{}, onFound, false, other))
                    return true;
            }
            return walkPending(onFound);
        };
        if (tabs == nullptr)
            return false;
        if (current >= 0 && current < tabs->GetItemCount() && searchCategory(current, {}))
            return true;
        for (int t = 0; t < tabs->GetItemCount(); ++t) {
            CXTPTabManagerItem* item = tabs->GetItem(t);
            if (t == current || item == nullptr || !item->IsVisible())
                continue;
            if (searchCategory(t, [bar, t] { bar->SelectCategory(t); }))
                return true;
        }
        return false;
    }

    bool searchMenuBar() {
        CXTPMenuBar* menu = m_frame->GetMenuBar();
        if (menu == nullptr || !menu->IsVisible())
            return false;
        m_top = menu;
        return searchControls(menu->GetControls(), {});
    }

    bool searchBars(CXTPCommandBars* bars) {
        if (bars == nullptr)
            return false;
        CXTPCommandBar* ribbon = m_frame->GetRibbonBar();
        CXTPCommandBar* tabBar = m_frame->GetTabToolBar();
        CXTPCommandBar* menu = m_frame->GetMenuBar();
        for (int i = 0; i < bars->GetCount(); ++i) {
            CXTPToolBar* bar = bars->GetAt(i);
            if (bar == nullptr || bar == ribbon || bar == tabBar || bar == menu || !bar->IsVisible())
                continue;
            m_top = bar;
            if (searchControls(bar->GetControls(), {}))
                return true;
        }
        return false;
    }

    bool searchOtherBars() {
        return searchBars(m_frame->GetCommandBars()) || searchBars(m_frame->GetFramelessToolBars());
    }

    void closePopups() {
        if (m_top == nullptr)
            return;
        if (CXTPCommandBars* bars = m_top->GetCommandBars()) {
            bars->ClosePopups();
            if (CXTPToolTipContext* tips = bars->GetToolTipContext())
                tips->CancelToolTips();
        }
    }

    // Moves floating and slid-out panes off a control of the top-level bar.
    void uncover(const CRect& screen) {
        Dravik::UI::DockingPaneManager* panes = m_frame->GetDockingPaneManager();
        if (panes == nullptr)
            return;
        for (CXTPDockingPaneBase* pane : panes->GetPaneStack()) {
            // A node that is not shown has an empty rectangle.
            if (pane == nullptr || pane->GetPaneWindowRect().IsRectEmpty())
                continue;
            CRect overlap;
            if (!overlap.IntersectRect(pane->GetPaneWindowRect(), screen))
                continue;
            if (pane->GetType() == xtpPaneTypeMiniWnd) {
                auto* mini = dynamic_cast<CXTPDockingPaneMiniWnd*>(pane);
                if (mini != nullptr && ::IsWindow(mini->m_hWnd))
                    mini->Collapse();
            } else if (pane->GetType() == xtpPaneTypeAutoHidePanel) {
                panes->HideAutoHideWindow();
            }
        }
    }

    bool ensureShown(CXTPCommandBar* bar, CXTPControl* control) {
        if (bar == nullptr || control == nullptr)
            return false;
        if (::IsWindow(bar->m_hWnd))
            bar->OnRecalcLayout();
        if (!isVisible(control, false))
            return false;
        if (bar == m_top && ::IsWindow(bar->m_hWnd)) {
            CRect screen = control->GetRect();
            bar->ClientToScreen(&screen);
            uncover(screen);
        }
        return true;
    }

    // Whether the bar lists the control among its own (a ribbon keeps its groups' controls and
    // its quick access apart).
    static bool ownsByIndex(CXTPCommandBar* bar, CXTPControl* control) {
        const int index = control->GetIndex();
        return index >= 0 && index < bar->GetControlCount() && bar->GetControl(index) == control;
    }

    static bool openPopup(CXTPCommandBar* bar, CXTPControlPopup* popup) {
        if (ownsByIndex(bar, popup))
            return bar->SetPopuped(popup->GetIndex()) != FALSE;
        popup->OnSetPopup(TRUE);
        return popup->GetPopuped() != FALSE;
    }

    static void highlight(CXTPCommandBar* bar, CXTPControl* control) {
        if (ownsByIndex(bar, control))
            bar->SetSelected(control->GetIndex());
        else
            control->OnSetSelected(TRUE);
    }

    bool reveal(CXTPControl* control, Path path, const OnFound& onFound) {
        if (onFound)
            onFound();
        closePopups();
        std::vector<CXTPControlPopup*> chain;
        for (Path at = path; at.valid; at = m_pending[at.parent].path)
            chain.insert(chain.begin(), m_pending[at.parent].popup);
        CXTPCommandBar* bar = m_top;
        bool shown = true;
        for (CXTPControlPopup* popup : chain) {
            CXTPCommandBar* parent = popup->GetParent();
            if (parent != nullptr)
                bar = parent;
            if (!ensureShown(bar, popup) || !openPopup(bar, popup) || popup->GetCommandBar() == nullptr) {
                shown = false;
                break;
            }
            bar = popup->GetCommandBar();
        }
        if (shown && control->GetParent() != nullptr)
            bar = control->GetParent();
        if (!shown)
            DVLog_Write(DVLogProgress, "Command %d: a popup on its way did not open", m_id);
        if (shown && ensureShown(bar, control) && ::IsWindow(bar->m_hWnd)) {
            highlight(bar, control);
            CRect screen = control->GetRect();
            bar->ClientToScreen(&screen);
            const CPoint centre((screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2);
            ::SetCursorPos(centre.x, centre.y);
            DVLog_Write(DVLogInfo, "Command %d shown at %d,%d", m_id, static_cast<int>(centre.x),
                        static_cast<int>(centre.y));
            return true;
        }
        closePopups();
        return false;
    }

    CMainFrame* m_frame;
    int m_id;
    CXTPCommandBar* m_top = nullptr;
    std::vector<Entry> m_pending;
    // The lists of panes this search filled, each filled once.
    std::vector<Dravik::UI::DockingPanesPopup*> m_refilled;
};

} // namespace

bool FindInToolBars(CMainFrame* frame, int id) {
    if (frame == nullptr || !::IsWindow(frame->m_hWnd) || id <= 0)
        return false;
    return ToolBarSearch(frame, id).Run();
}
