#include "DravikUI/TabbableToolBar.h"

#include "xtp/PropExchange.h"
#include "xtp/ShortcutManager.h"

#include <map>

namespace Dravik::UI {

namespace {

// The tab each kind of set-up starts on; one set for the process, as the set-up is.
std::map<int, GUID>& defaultTabs() {
    static std::map<int, GUID> tabs;
    return tabs;
}

} // namespace

IMPLEMENT_DYNCREATE(TabbableToolBar, CXTPTabToolBar)

TabbableToolBar::~TabbableToolBar() {
    if (m_accelerators != nullptr)
        ::DestroyAcceleratorTable(m_accelerators);
}

CXTPTabManagerItem* TabbableToolBar::AddOriginalTab(LPCWSTR name, const UINT* ids, int count,
                                                    const GUID& guid, bool visible, bool loadIcons) {
    CXTPTabManagerItem* tab = InsertCategory(-1, name, ids, count, loadIcons ? TRUE : FALSE);
    if (tab == nullptr)
        return nullptr;
    SetGUID(tab, guid);
    tab->SetVisible(visible ? TRUE : FALSE);
    for (const auto& [kind, key] : defaultTabs()) {
        if (key == guid && guid != GUID_NULL && visible) {
            SelectCategory(tab);
            break;
        }
    }
    UpdateTabs();
    return tab;
}

TabbableToolBar::TabKey* TabbableToolBar::keyOf(const CXTPTabManagerItem* tab) const {
    if (tab == nullptr || tab->GetTabManager() != GetTabManager())
        return nullptr;
    const DWORD_PTR number = tab->GetData();
    return number >= 1 && number <= m_keys.size() ? &m_keys[number - 1] : nullptr;
}

TabbableToolBar::TabKey& TabbableToolBar::ensureKey(CXTPTabManagerItem* tab) {
    if (TabKey* key = keyOf(tab))
        return *key;
    m_keys.emplace_back();
    tab->SetData(m_keys.size());
    return m_keys.back();
}

GUID TabbableToolBar::GetGUID(const CXTPTabManagerItem* tab) const {
    const TabKey* key = keyOf(tab);
    return key != nullptr ? key->guid : GUID_NULL;
}

void TabbableToolBar::SetGUID(CXTPTabManagerItem* tab, const GUID& guid) {
    if (tab != nullptr && tab->GetTabManager() == GetTabManager())
        ensureKey(tab).guid = guid;
}

CXTPTabManagerItem* TabbableToolBar::FindTab(const GUID& guid) const {
    if (guid == GUID_NULL)
        return nullptr;
    for (int i = 0; i < GetTabManager()->GetItemCount(); ++i) {
        if (GetGUID(GetTabManager()->GetItem(i)) == guid)
            return GetTabManager()->GetItem(i);
    }
    return nullptr;
}

void TabbableToolBar::SetAccel(CXTPTabManagerItem* tab, WORD key, BYTE modifiers) {
    if (tab == nullptr || tab->GetTabManager() != GetTabManager())
        return;
    TabKey& k = ensureKey(tab);
    k.key = key;
    k.modifiers = key != 0 ? modifiers : 0;
}

WORD TabbableToolBar::GetAccelKey(const CXTPTabManagerItem* tab) const {
    const TabKey* key = keyOf(tab);
    return key != nullptr ? key->key : 0;
}

BYTE TabbableToolBar::GetAccelModifiers(const CXTPTabManagerItem* tab) const {
    const TabKey* key = keyOf(tab);
    return key != nullptr ? key->modifiers : 0;
}

CString TabbableToolBar::GetMenuString(const CXTPTabManagerItem* tab) const {
    if (tab == nullptr)
        return CString();
    CString text = tab->GetCaption();
    if (const TabKey* key = keyOf(tab); key != nullptr && !key->keyName.IsEmpty())
        text += L"\t" + key->keyName;
    return text;
}

void TabbableToolBar::UpdateAccelerators() {
    if (m_accelerators != nullptr)
        ::DestroyAcceleratorTable(m_accelerators);
    m_accelerators = nullptr;
    std::vector<ACCEL> entries;
    const int count = std::min<int>(GetTabManager()->GetItemCount(), TabCommandLast - TabCommandFirst + 1);
    for (TabKey& key : m_keys)
        key.keyName.Empty();
    for (int i = 0; i < count; ++i) {
        TabKey* key = keyOf(GetTabManager()->GetItem(i));
        if (key == nullptr || key->key == 0)
            continue;
        const WORD command = static_cast<WORD>(TabCommandFirst + i);
        // The flags say a virtual key whether or not the caller did.
        const BYTE flags = static_cast<BYTE>(key->modifiers | FVIRTKEY);
        entries.push_back(ACCEL{flags, key->key, command});
        const CXTPShortcutManagerAccel accel(command, flags, key->key);
        key->keyName = CXTPShortcutManager::CKeyHelper(&accel).Format();
    }
    if (!entries.empty())
        m_accelerators = ::CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size()));
}

HMENU TabbableToolBar::BuildPopupMenu() const {
    HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr)
        return nullptr;
    const int count = std::min<int>(GetTabManager()->GetItemCount(), TabCommandLast - TabCommandFirst + 1);
    for (int i = 0; i < count; ++i) {
        CXTPTabManagerItem* tab = GetTabManager()->GetItem(i);
        if (!tab->IsVisible())
            continue;
        const UINT flags = MF_STRING | (tab->IsSelected() ? MF_CHECKED : MF_UNCHECKED);
        ::AppendMenuW(menu, flags, TabCommandFirst + i, GetMenuString(tab));
    }
    return menu;
}

BOOL TabbableToolBar::OnTabCommand(UINT id) {
    if (id < TabCommandFirst || id > TabCommandLast)
        return FALSE;
    CXTPTabManagerItem* tab = GetTabManager()->GetItem(static_cast<int>(id - TabCommandFirst));
    if (tab == nullptr || !tab->IsVisible())
        return FALSE;
    SelectCategory(tab);
    return TRUE;
}

void TabbableToolBar::SetDefaultSystemToolbar(int kind, const GUID& guid) {
    defaultTabs()[kind] = guid;
}

GUID TabbableToolBar::GetDefaultSystemToolbar(int kind) {
    const auto found = defaultTabs().find(kind);
    return found != defaultTabs().end() ? found->second : GUID_NULL;
}

void TabbableToolBar::DoPropExchange(CXTPPropExchange* pPX) {
    // The tabs come back as new items: their keys are read after them, in tab order.
    CXTPTabToolBar::DoPropExchange(pPX);
    CXTPPropExchangeEnumeratorPtr items(pPX->GetEnumerator(L"TabKey"));
    CXTPTabManager* tabs = GetTabManager();
    if (pPX->IsStoring()) {
        POSITION pos = items->GetPosition(static_cast<DWORD>(tabs->GetItemCount()));
        for (int i = 0; i < tabs->GetItemCount(); ++i) {
            CXTPPropExchangeSection section(items->GetNext(pos));
            CString guid = pal::com::guidToString(GetGUID(tabs->GetItem(i))).c_str();
            PX_String(section, L"ID", guid, L"");
            int key = GetAccelKey(tabs->GetItem(i));
            PX_Int(section, L"AccelKey", key, 0);
            int modifiers = GetAccelModifiers(tabs->GetItem(i));
            PX_Int(section, L"AccelMod", modifiers, 0);
        }
        return;
    }
    m_keys.clear();
    POSITION pos = items->GetPosition();
    for (int i = 0; pos != nullptr && i < tabs->GetItemCount(); ++i) {
        CXTPPropExchangeSection section(items->GetNext(pos));
        CXTPTabManagerItem* tab = tabs->GetItem(i);
        tab->SetData(0);
        CString text;
        PX_String(section, L"ID", text, L"");
        GUID guid = GUID_NULL;
        if (FAILED(::CLSIDFromString(text, &guid)))
            guid = GUID_NULL; // a key that does not read is no key
        int key = 0, modifiers = 0;
        PX_Int(section, L"AccelKey", key, 0);
        PX_Int(section, L"AccelMod", modifiers, 0);
        SetGUID(tab, guid);
        if (key > 0 && key <= 0xFF && modifiers >= 0 && modifiers <= 0xFF)
            SetAccel(tab, static_cast<WORD>(key), static_cast<BYTE>(modifiers));
    }
    UpdateAccelerators();
}

void TabbableToolBar::Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive) {
    CXTPTabToolBar::Copy(pCommandBar, bRecursive);
    if (auto* other = dynamic_cast<TabbableToolBar*>(pCommandBar); other != nullptr && other != this) {
        m_keys = other->m_keys; // the items copied their data, the numbers of these records
        UpdateAccelerators();
    }
}

} // namespace Dravik::UI
