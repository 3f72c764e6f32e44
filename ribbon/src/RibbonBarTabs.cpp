// Which ribbon tabs show: the tabs the active view brings, the contextual tabs of the active
// document's keywords.
#include "ribbon/RibbonBar.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/FeaTaskManager.h"
#include "DravikKernel/View.h"
#include "DravikUI/GenericMainFrame.h"
#include "XTToolkitPro.h"

#include <algorithm>
#include <utility>

namespace {

bool isNull(const GUID& guid) {
    return guid == GUID{};
}

bool hasAny(const Dravik::UI::RibbonTab& tab, std::initializer_list<const GUID*> guids) {
    return std::any_of(guids.begin(), guids.end(),
                       [&](const GUID* guid) { return !isNull(*guid) && tab.HasGUID(*guid); });
}

} // namespace

// {84F3EAA9-60FB-4DF4-AE1D-3F08A30223AE}
const GUID DVRibbonBar::kDefaultTabGuid = {
    0x84F3EAA9, 0x60FB, 0x4DF4, {0xAE, 0x1D, 0x3F, 0x08, 0xA3, 0x02, 0x23, 0xAE}};
// {7EB4FAE1-C764-4869-906D-97BF25A7BC14}
const GUID DVRibbonBar::k3DTabGuid = {
    0x7EB4FAE1, 0xC764, 0x4869, {0x90, 0x6D, 0x97, 0xBF, 0x25, 0xA7, 0xBC, 0x14}};
// {FF0DC8C2-69EB-4C73-93B2-D5B1974FEB6A}
const GUID DVRibbonBar::kAnalysisTabGuid = {
    0xFF0DC8C2, 0x69EB, 0x4C73, {0x93, 0xB2, 0xD5, 0xB1, 0x97, 0x4F, 0xEB, 0x6A}};

void DVRibbonBar::GetActiveViewRibbonTabs(CView* view, GUID (&guids)[3]) {
    guids[0] = kDefaultTabGuid;
    const auto* drawing = dynamic_cast<const CDVView*>(view);
    if (drawing == nullptr)
        return;
    guids[2] = drawing->GetRibbonGUID();
    if (const MainBarStateRecord* state = drawing->GetMainBarSwitchHistory().GetTopEvent()) {
        guids[0] = state->first;
        guids[1] = state->second;
        return;
    }
    const GUID chosen = drawing->GetMainBarGUID();
    guids[0] = isNull(chosen) ? guids[2] : chosen;
    guids[1] = guids[2];
}

CView* DVRibbonBar::GetActiveView() const {
    const auto* frame = dynamic_cast<const Dravik::UI::GenericMainFrame*>(GetSite());
    return frame != nullptr ? frame->GetActiveDravikView() : nullptr;
}

void DVRibbonBar::SelectTab(int index) {
    if (GetCurSel() == index)
        return;
    ++m_suppressTabChange;
    SetCurSel(index);
    --m_suppressTabChange;
}

BOOL DVRibbonBar::OnTabChanging(CXTPRibbonTab* tab) {
    if (const auto* own = dynamic_cast<const Dravik::UI::RibbonTab*>(tab);
        own != nullptr && own->IsDisabledByUser())
        return TRUE;
    // A selected tab that was hidden gives way to a neighbour: nobody chose that one.
    const CXTPRibbonTab* selected = GetSelectedTab();
    m_givingWay = selected != nullptr && !selected->IsVisible();
    return Dravik::UI::RibbonBar::OnTabChanging(tab);
}

void DVRibbonBar::OnTabChanged(CXTPRibbonTab* tab) {
    Dravik::UI::RibbonBar::OnTabChanged(tab);
    if (tab != nullptr && m_laidOutTabs.insert(tab).second)
        RecalcRibbonLayout();
    const bool givingWay = std::exchange(m_givingWay, false);
    if (m_suppressTabChange > 0 || givingWay)
        return;
    const auto* own = dynamic_cast<const Dravik::UI::RibbonTab*>(tab);
    auto* view = dynamic_cast<CDVView*>(GetActiveView());
    if (own == nullptr || !own->HasGUID() || view == nullptr)
        return;
    if (!view->GetMainBarSwitchHistory().SetTopEvent(MainBarStateRecord{own->GetGUID(), GUID{}}))
        view->SetMainBarGUID(own->GetGUID());
}

void DVRibbonBar::ShowViewTab(Dravik::UI::RibbonTab* tab) {
    if (!tab->IsVisible())
        tab->SetDisabledByUser(false);
}

namespace {

// What the document's 3D container holds: a part, an assembly or a sheet-metal part is 3D through
// and through, whether a 3D module is attached or not.
bool Holds3DContent(const Dravik::DravikDocument2& document) {
    using Dravik::DocumentKind;
    const DocumentKind kind = document.GetKind();
    return kind == DocumentKind::Part3D || kind == DocumentKind::Assembly3D ||
           kind == DocumentKind::SheetMetalPart;
}

} // namespace

void DVRibbonBar::UpdateViewTabs(const GUID (&guids)[3], bool force, CDocument* activeDocument) {
    const bool noView = isNull(guids[0]);
    if ((noView && m_noView) || GetTabCount() == 0)
        return;
    ++m_suppressTabChange;
    // The 3D tab belongs to a document with 3D content of its own, or one the 3D module works on.
    const auto* dravikDocument = dynamic_cast<const Dravik::DravikDocument2*>(activeDocument);
    const bool with3D =
        activeDocument != nullptr && ((dravikDocument != nullptr && Holds3DContent(*dravikDocument)) ||
                                      CDVCom_Is3D::Instance() != nullptr);
    // The analysis tab belongs to a document the analysis module has tasks for.
    const FeaTaskManager* analyses = FeaTaskManager::Instance();
    const bool withAnalyses = analyses != nullptr && analyses->HasTasks(activeDocument);

    const CXTPRibbonTab* selected = GetSelectedTab();
    CXTPRibbonTab* firstShown = noView ? GetTab(0) : nullptr;
    bool firstWasVisible = noView ? GetTab(0)->IsVisible() != FALSE : true;
    bool ownTabSeen = false;
    bool currentHidden = force;
    for (int i = 0; i < GetTabCount(); ++i) {
        auto* tab = dynamic_cast<Dravik::UI::RibbonTab*>(GetTab(i));
        if (tab == nullptr || tab->HasTags() || (tab->IsDisabledByUser() && !currentHidden))
            continue;
        if (!noView && !ownTabSeen && tab->HasGUID(guids[0])) {
            // The view's own tab is the one to select, whatever matched before it.
            ownTabSeen = true;
            firstShown = tab;
            firstWasVisible = tab->IsVisible() != FALSE;
            ShowViewTab(tab);
        } else if (hasAny(*tab, {&guids[0], &guids[1], &guids[2]}) || (with3D && tab->HasGUID(k3DTabGuid)) ||
                   (withAnalyses && tab->IsVisible() && tab->HasGUID(kAnalysisTabGuid))) {
            if (firstShown == nullptr)
                firstShown = tab;
            ShowViewTab(tab);
        } else if (tab->IsVisible() && tab->GetContextColor() != xtpRibbonTabContextColorNone) {
            tab->SetVisible(FALSE);
            if (tab == selected)
                currentHidden = true;
        } else if (withAnalyses && tab->HasGUID(kAnalysisTabGuid)) {
            // Shown, but neither chosen nor given back the person's showing.
            tab->SetVisible(TRUE);
        }
    }
    if (firstShown != nullptr && (!firstWasVisible || currentHidden) && firstShown != GetSelectedTab())
        SetCurSel(firstShown->GetIndex());
    m_noView = noView;
    --m_suppressTabChange;
}

void DVRibbonBar::UpdateContextualTabs(CDocument* document) {
    if (GetTabCount() == 0)
        return;
    static const std::vector<std::wstring> none;
    const auto* kernel = dynamic_cast<const Dravik::DravikDocument2*>(document);
    const std::vector<std::wstring>& keywords = kernel != nullptr ? kernel->GetKeywordList() : none;
    for (int i = 0; i < GetTabCount(); ++i) {
        auto* tab = dynamic_cast<Dravik::UI::RibbonTab*>(GetTab(i));
        if (tab == nullptr || !tab->HasTags())
            continue;
        const bool matches = std::any_of(keywords.begin(), keywords.end(),
                                         [tab](const std::wstring& keyword) { return tab->HasTag(keyword); });
        tab->SetVisible(matches);
    }
}
