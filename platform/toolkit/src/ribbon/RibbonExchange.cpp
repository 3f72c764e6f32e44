// The ribbon's tabs, groups and controls, and its quick access controls, in a property exchange.
#include "xtp/PropExchange.h"
#include "xtp/RibbonBar.h"

#include <set>

namespace {

BOOL validType(int type) {
    return type >= xtpControlButton && type <= xtpControlRadioButton && type != xtpControlCustom;
}

struct ControlRecord {
    int type = xtpControlButton;
    int id = 0;
    CString caption;
    int style = xtpButtonAutomatic;
    BOOL beginGroup = FALSE;
};

void exchangeControl(CXTPPropExchange* px, ControlRecord& r) {
    PX_Int(px, L"Type", r.type, xtpControlButton);
    PX_Int(px, L"Id", r.id, 0);
    PX_String(px, L"Caption", r.caption, L"");
    PX_Int(px, L"Style", r.style, xtpButtonAutomatic);
    PX_Bool(px, L"BeginGroup", r.beginGroup, FALSE);
}

ControlRecord recordOf(CXTPControl* c) {
    ControlRecord r;
    r.type = c->GetType();
    r.id = c->GetID();
    r.caption = c->GetCaption();
    r.style = c->GetStyle();
    r.beginGroup = c->GetBeginGroup();
    return r;
}

void applyRecord(CXTPControl* c, const ControlRecord& r) {
    if (!r.caption.IsEmpty())
        c->SetCaption(r.caption);
    if (r.style >= xtpButtonAutomatic && r.style <= xtpButtonCaptionAndDescription)
        c->SetStyle(static_cast<XTPButtonStyle>(r.style));
    c->SetBeginGroup(r.beginGroup);
}

// Stores the controls of a list; loading reads the valid records (a known type, an id, not
// seen before) in order.
void exchangeControls(CXTPPropExchange* px, LPCWSTR section, const std::vector<CXTPControl*>& controls,
                      std::vector<ControlRecord>& loaded) {
    CXTPPropExchangeEnumeratorPtr e(px->GetEnumerator(section));
    POSITION pos = e->GetPosition(static_cast<DWORD>(controls.size()));
    size_t i = 0;
    std::set<int> seen;
    while (pos) {
        CXTPPropExchangeSection item(e->GetNext(pos));
        ControlRecord r = px->IsStoring() && i < controls.size() ? recordOf(controls[i]) : ControlRecord();
        exchangeControl(item, r);
        ++i;
        if (px->IsLoading() && validType(r.type) && r.id > 0 && seen.insert(r.id).second)
            loaded.push_back(r);
    }
}

std::vector<CXTPControl*> controlsOf(CXTPControls* list) {
    return std::vector<CXTPControl*>(list->begin(), list->end());
}

} // namespace

void CXTPRibbonBar::DoPropExchange(CXTPPropExchange* pPX) {
    CXTPPropExchangeSection px(pPX, L"Ribbon");
    if (!px->OnBeforeExchange())
        return;
    BOOL below = m_bQuickAccessBelow, minimized = m_bMinimized;
    PX_Bool(px, L"QuickAccessBelow", below, FALSE);
    PX_Bool(px, L"Minimized", minimized, FALSE);

    if (px->IsStoring()) {
        CXTPPropExchangeEnumeratorPtr tabs(px->GetEnumerator(L"Tab"));
        POSITION pos = tabs->GetPosition(static_cast<DWORD>(GetTabCount()));
        for (int t = 0; pos; ++t) {
            CXTPRibbonTab* tab = GetTab(t);
            CXTPPropExchangeSection tx(tabs->GetNext(pos));
            CString caption = tab->GetCaption(), context = tab->GetContextCaption(),
                    keyTip = tab->GetKeyboardTip();
            int id = tab->GetID(), color = tab->GetContextColor();
            BOOL visible = tab->IsVisible();
            PX_String(tx, L"Caption", caption);
            PX_Int(tx, L"Id", id);
            PX_Int(tx, L"ContextColor", color);
            PX_String(tx, L"ContextCaption", context);
            PX_String(tx, L"KeyTip", keyTip);
            PX_Bool(tx, L"Visible", visible, TRUE);
            CXTPPropExchangeEnumeratorPtr groups(tx->GetEnumerator(L"Group"));
            POSITION gpos = groups->GetPosition(static_cast<DWORD>(tab->GetGroups()->GetCount()));
            for (int g = 0; gpos; ++g) {
                CXTPRibbonGroup* group = tab->GetGroups()->GetAt(g);
                CXTPPropExchangeSection gx(groups->GetNext(gpos));
                CString gcaption = group->GetCaption();
                int gid = group->GetID(), priority = group->GetReducePriority();
                BOOL launcher = group->IsOptionButtonVisible();
                PX_String(gx, L"Caption", gcaption);
                PX_Int(gx, L"Id", gid);
                PX_Bool(gx, L"Launcher", launcher);
                PX_Int(gx, L"ReducePriority", priority);
                std::vector<ControlRecord> unused;
                exchangeControls(gx, L"Control", controlsOf(group->GetControls()), unused);
            }
        }
        CXTPPropExchangeSection qx(px->GetSection(L"QuickAccess"));
        std::vector<ControlRecord> unused;
        exchangeControls(qx, L"Control", controlsOf(m_pQuickAccessControls), unused);
        return;
    }

    // Loading builds the ribbon again from what is valid.
    HideKeyTips();
    RemoveAllTabs();
    std::set<int> tabIds;
    CXTPPropExchangeEnumeratorPtr tabs(px->GetEnumerator(L"Tab"));
    POSITION pos = tabs->GetPosition();
    while (pos) {
        CXTPPropExchangeSection tx(tabs->GetNext(pos));
        CString caption, context, keyTip;
        int id = 0, color = 0;
        BOOL visible = TRUE;
        PX_String(tx, L"Caption", caption);
        PX_Int(tx, L"Id", id);
        PX_Int(tx, L"ContextColor", color);
        PX_String(tx, L"ContextCaption", context);
        PX_String(tx, L"KeyTip", keyTip);
        PX_Bool(tx, L"Visible", visible, TRUE);
        if (id != 0 && !tabIds.insert(id).second)
            continue;
        CXTPRibbonTab* tab = AddTab(caption, id);
        if (color > xtpRibbonTabContextColorNone && color <= xtpRibbonTabContextColorOrange)
            tab->SetContextTab(static_cast<XTPRibbonTabContextColor>(color), context);
        tab->SetKeyboardTip(keyTip);
        std::set<int> groupIds;
        CXTPPropExchangeEnumeratorPtr groups(tx->GetEnumerator(L"Group"));
        POSITION gpos = groups->GetPosition();
        while (gpos) {
            CXTPPropExchangeSection gx(groups->GetNext(gpos));
            CString gcaption;
            int gid = 0, priority = 0;
            BOOL launcher = FALSE;
            PX_String(gx, L"Caption", gcaption);
            PX_Int(gx, L"Id", gid);
            PX_Bool(gx, L"Launcher", launcher);
            PX_Int(gx, L"ReducePriority", priority);
            std::vector<ControlRecord> records;
            exchangeControls(gx, L"Control", {}, records);
            if (records.empty() || (gid != 0 && !groupIds.insert(gid).second))
                continue;
            CXTPRibbonGroup* group = tab->GetGroups()->Add(gcaption, gid);
            group->ShowOptionButton(launcher);
            group->SetReducePriority(priority);
            for (const ControlRecord& r : records) {
                if (CXTPControl* c = group->Add(r.type, r.id))
                    applyRecord(c, r);
            }
        }
        tab->SetVisible(visible);
    }
    m_pQuickAccessControls->RemoveAll();
    CXTPPropExchangeSection qx(px->GetSection(L"QuickAccess"));
    std::vector<ControlRecord> records;
    exchangeControls(qx, L"Control", {}, records);
    for (const ControlRecord& r : records) {
        if (CXTPControl* c = m_pQuickAccessControls->Add(static_cast<XTPControlType>(r.type), r.id))
            applyRecord(c, r);
    }
    m_bQuickAccessBelow = below;
    m_bMinimized = minimized;
    for (int i = 0; i < GetTabCount(); ++i) {
        if (GetTab(i)->IsVisible()) {
            m_pControlTab->CXTPTabManager::SetSelectedItem(GetTab(i));
            break;
        }
    }
    RecalcLayout();
}
