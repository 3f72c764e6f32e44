#include "xtp/CommandBars.h"
#include "xtp/PropExchange.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CXTPControls, CCmdTarget)

namespace {

// How deep stored popups may nest: a damaged file cannot recurse without end.
constexpr int kMaxNesting = 16;
thread_local int g_nesting = 0;

// A button added by id takes its texts from the id's string resource: "prompt\ntip".
void textsFromResource(CXTPControl* control) {
    if (!control->GetCaption().IsEmpty() || control->GetID() <= 0)
        return;
    CString text;
    if (!text.LoadString(static_cast<UINT>(control->GetID())))
        return;
    const int newline = text.Find(L'\n');
    const CString prompt = newline >= 0 ? text.Left(newline) : text;
    const CString tip = newline >= 0 ? text.Mid(newline + 1) : CString();
    control->SetCaption(tip.IsEmpty() ? prompt : tip);
    if (control->GetDescription().IsEmpty())
        control->SetDescription(prompt);
    if (control->GetPrompt().IsEmpty())
        control->SetPrompt(prompt);
}

} // namespace

CXTPControls::CXTPControls() = default;

CXTPControls::~CXTPControls() {
    RemoveAll();
    ClearOriginalControls();
}

CXTPControl* CXTPControls::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return m_arrControls[static_cast<size_t>(nIndex)];
}

int CXTPControls::IndexOf(const CXTPControl* pControl) const {
    const auto it = std::find(m_arrControls.begin(), m_arrControls.end(), pControl);
    return it == m_arrControls.end() ? -1 : static_cast<int>(it - m_arrControls.begin());
}

CXTPCommandBars* CXTPControls::GetCommandBars() const {
    if (m_pParent != nullptr && m_pParent->GetCommandBars() != nullptr)
        return m_pParent->GetCommandBars();
    return m_pCommandBars;
}

void CXTPControls::SetParent(CXTPCommandBar* pParent) {
    m_pParent = pParent;
    for (CXTPControl* c : m_arrControls)
        c->m_pParent = pParent;
}

void CXTPControls::attach(CXTPControl* pControl, int nBefore) {
    pControl->m_pControls = this;
    pControl->m_pParent = m_pParent;
    if (nBefore < 0 || nBefore >= GetCount())
        m_arrControls.push_back(pControl);
    else
        m_arrControls.insert(m_arrControls.begin() + nBefore, pControl);
    if (auto* popup = dynamic_cast<CXTPControlPopup*>(pControl);
        popup != nullptr && popup->GetCommandBar() != nullptr &&
        popup->GetCommandBar()->GetCommandBars() == nullptr)
        popup->GetCommandBar()->SetCommandBars(GetCommandBars());
    OnControlAdded(pControl);
    changed();
}

void CXTPControls::changed() {
    if (m_pParent != nullptr)
        m_pParent->controlsChanged();
}

CXTPControl* CXTPControls::Add(XTPControlType controlType, int nId, LPCWSTR lpszParameter, int nBefore,
                               BOOL bTemporary) {
    CXTPCommandBars* bars = GetCommandBars();
    CXTPControl* control = bars != nullptr ? bars->CreateControl(controlType, nId, m_pParent)
                                           : CXTPControl::CreateControl(controlType);
    return Add(control, nId, lpszParameter, nBefore, bTemporary);
}

CXTPControl* CXTPControls::Add(CXTPControl* pControl, int nId, LPCWSTR lpszParameter, int nBefore,
                               BOOL bTemporary) {
    if (pControl == nullptr)
        return nullptr;
    if (nId != 0)
        pControl->m_nId = nId;
    if (lpszParameter != nullptr && *lpszParameter != 0)
        pControl->m_strParameter = lpszParameter;
    if (bTemporary)
        pControl->m_bTemporary = TRUE;
    attach(pControl, nBefore);
    if (pControl->GetType() != xtpControlPopup)
        textsFromResource(pControl);
    // The site finishes the control: captions, tips, sizes of its own.
    if (CXTPCommandBars* bars = GetCommandBars(); bars != nullptr && bars->GetSite() != nullptr &&
                                                  bars->GetSite()->m_hWnd != nullptr &&
                                                  pControl->GetID() != 0)
        bars->GetSite()->SendMessage(WM_XTP_INITCONTROL, static_cast<WPARAM>(pControl->GetID()),
                                     reinterpret_cast<LPARAM>(pControl));
    return pControl;
}

CXTPControl* CXTPControls::AddClone(CXTPControl* pControl, int nBefore, BOOL bRecursive) {
    if (pControl == nullptr)
        return nullptr;
    CXTPControl* copy = pControl->Clone(bRecursive);
    attach(copy, nBefore);
    return copy;
}

BOOL CXTPControls::LoadMenu(CMenu* pMenu) {
    if (pMenu == nullptr || pMenu->GetSafeHmenu() == nullptr)
        return FALSE;
    CXTPCommandBars* bars = GetCommandBars();
    BOOL beginGroup = FALSE;
    const int count = static_cast<int>(pMenu->GetMenuItemCount());
    for (int i = 0; i < count; ++i) {
        // The state of a submenu's item carries the submenu's item count in its high byte, which
        // may look like the separator flag: only an item without a submenu is a separator.
        const UINT state = pMenu->GetMenuState(static_cast<UINT>(i), MF_BYPOSITION);
        if ((state & MF_SEPARATOR) && pMenu->GetSubMenu(i) == nullptr) {
            beginGroup = GetCount() > 0;
            continue;
        }
        CString caption;
        pMenu->GetMenuString(static_cast<UINT>(i), caption, MF_BYPOSITION);
        CMenu* sub = pMenu->GetSubMenu(i);
        const int id = sub != nullptr ? 0 : static_cast<int>(pMenu->GetMenuItemID(i));
        const XTPControlType type = sub != nullptr ? xtpControlPopup : xtpControlButton;
        CXTPControl* control = bars != nullptr ? bars->CreateControl(type, id, m_pParent, pMenu, i, caption)
                                               : CXTPControl::CreateControl(type);
        control->m_nId = id;
        // A shortcut after a tab ("Open\tCtrl+O") is the control's to show, not its caption.
        const int tab = caption.Find(L'\t');
        control->m_strCaption = tab >= 0 ? caption.Left(tab) : caption;
        if (tab >= 0)
            control->m_strShortcutText = caption.Mid(tab + 1);
        control->m_bBeginGroup = beginGroup;
        control->m_bEnabled = !(state & (MF_GRAYED | MF_DISABLED));
        control->m_bChecked = (state & MF_CHECKED) != 0;
        beginGroup = FALSE;
        if (auto* popup = dynamic_cast<CXTPControlPopup*>(control); popup != nullptr && sub != nullptr) {
            CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(bars);
            bar->GetControls()->LoadMenu(sub);
            popup->SetCommandBar(bar);
            bar->InternalRelease();
        }
        Add(control, id);
    }
    return TRUE;
}

void CXTPControls::Remove(CXTPControl* pControl) {
    Remove(IndexOf(pControl));
}

void CXTPControls::Remove(int nIndex) {
    CXTPControl* control = GetAt(nIndex);
    if (control == nullptr)
        return;
    if (auto* popup = dynamic_cast<CXTPControlPopup*>(control); popup != nullptr && popup->GetPopuped())
        popup->OnSetPopup(FALSE);
    control->OnShowWindow(FALSE);
    m_arrControls.erase(m_arrControls.begin() + nIndex);
    if (m_pParent != nullptr && m_pParent->m_nSelected >= nIndex)
        m_pParent->m_nSelected = -1;
    control->m_pParent = nullptr;
    control->m_pControls = nullptr;
    OnControlRemoved(control);
    control->InternalRelease();
    changed();
}

void CXTPControls::RemoveAll() {
    while (!m_arrControls.empty())
        Remove(GetCount() - 1);
}

void CXTPControls::MoveBefore(CXTPControl* pControl, int nBefore) {
    const int from = IndexOf(pControl);
    if (from < 0)
        return;
    m_arrControls.erase(m_arrControls.begin() + from);
    if (nBefore > from)
        --nBefore;
    if (nBefore < 0 || nBefore > GetCount())
        nBefore = GetCount();
    m_arrControls.insert(m_arrControls.begin() + nBefore, pControl);
    changed();
}

CXTPControl* CXTPControls::FindControl(XTPControlType type, int nId, BOOL bVisible, BOOL bRecursive) const {
    for (CXTPControl* c : m_arrControls) {
        if (c->GetID() == nId && (type == xtpControlError || c->GetType() == type) &&
            (!bVisible || c->IsVisible()))
            return c;
    }
    if (!bRecursive)
        return nullptr;
    for (CXTPControl* c : m_arrControls) {
        auto* popup = dynamic_cast<CXTPControlPopup*>(c);
        if (popup == nullptr || popup->GetCommandBar() == nullptr || (bVisible && !c->IsVisible()))
            continue;
        if (CXTPControl* found =
                popup->GetCommandBar()->GetControls()->FindControl(type, nId, bVisible, TRUE))
            return found;
    }
    return nullptr;
}

void CXTPControls::CreateOriginalControls() {
    ClearOriginalControls();
    m_pOriginalControls = Duplicate(TRUE);
}

void CXTPControls::ClearOriginalControls() {
    if (m_pOriginalControls != nullptr) {
        m_pOriginalControls->InternalRelease();
        m_pOriginalControls = nullptr;
    }
}

void CXTPControls::Copy(CXTPControls* pControls, BOOL bRecursive) {
    if (pControls == nullptr || pControls == this)
        return;
    RemoveAll();
    for (CXTPControl* c : pControls->m_arrControls)
        attach(c->Clone(bRecursive), -1);
}

CXTPControls* CXTPControls::Duplicate(BOOL bRecursive) {
    auto* copy = new CXTPControls;
    copy->m_pCommandBars = GetCommandBars();
    copy->Copy(this, bRecursive);
    return copy;
}

void CXTPControls::DoPropExchange(CXTPPropExchange* pPX) {
    if (pPX == nullptr)
        return;
    struct Depth {
        Depth() { ++g_nesting; }
        ~Depth() { --g_nesting; }
    } depth;
    if (g_nesting > kMaxNesting)
        return;
    CXTPPropExchangeEnumeratorPtr items(pPX->GetEnumerator(L"Control"));
    if (pPX->IsStoring()) {
        std::vector<CXTPControl*> kept;
        for (CXTPControl* c : m_arrControls) {
            if (!c->IsTemporary())
                kept.push_back(c);
        }
        POSITION pos = items->GetPosition(static_cast<DWORD>(kept.size()));
        for (CXTPControl* c : kept) {
            CXTPPropExchangeSection item(items->GetNext(pos));
            c->DoPropExchange(item);
        }
        return;
    }
    RemoveAll();
    CXTPCommandBars* bars = GetCommandBars();
    POSITION pos = items->GetPosition();
    while (pos != nullptr) {
        CXTPPropExchangeSection item(items->GetNext(pos));
        int type = xtpControlError;
        int id = 0;
        PX_Int(item, L"Type", type, xtpControlError);
        PX_Int(item, L"Id", id, 0);
        // A type this version does not know is left out rather than guessed.
        if (type < xtpControlButton || type > xtpControlRadioButton || type == xtpControlCustom)
            continue;
        const auto controlType = static_cast<XTPControlType>(type);
        CXTPControl* control = bars != nullptr ? bars->CreateControl(controlType, id, m_pParent)
                                               : CXTPControl::CreateControl(controlType);
        control->m_pControls = this; // popups find the bars while loading
        control->DoPropExchange(item);
        control->m_controlType = control->GetType() == xtpControlError ? controlType : control->GetType();
        attach(control, -1);
    }
}
