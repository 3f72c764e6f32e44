#include "frame/TabToolBar.h"

#include "DravikKernel/KernelServices.h"
#include "xtp/CommandBars.h"
#include "xtp/PropExchange.h"
#include "xtp/ResourceManager.h"
#include "xtp/ToolBar.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr UINT kTabListCommand = 1075;
constexpr UINT kStandardCommands[] = {1065, 1064, 1072, 0, 1001, 1029, 1027, 0, 1115, 1117, 0};
constexpr UINT kFirstCustomBarId = 59392;
constexpr UINT kCustomBarIdLimit = 59647;
constexpr UINT kConvertQuestion = 41751;
constexpr UINT kNoFreeBarId = 9165;
constexpr UINT kTitleInUse = 9166;
constexpr UINT kToolBarCreated = 10341;

CDVTabToolBar::MainWindowShownQuery& shownQuery() {
    static CDVTabToolBar::MainWindowShownQuery query;
    return query;
}

ApplicationCommandNameSource& applicationCommandNames() {
    static ApplicationCommandNameSource source;
    return source;
}

constexpr int kFirstApplicationCommand = 17000;
constexpr int kLastApplicationCommand = 32000;

} // namespace

GUID UniqueIdentifierToGuid(const Dravik::UniqueIdentifier& id) {
    GUID guid = GUID_NULL;
    if (FAILED(::CLSIDFromString(UniqueIdentifierToString(id).c_str(), &guid)))
        return GUID_NULL;
    return guid;
}

Dravik::UniqueIdentifier GuidToUniqueIdentifier(const GUID& guid) {
    wchar_t text[40] = {};
    if (::StringFromGUID2(guid, text, static_cast<int>(std::size(text))) == 0)
        return {};
    return Dravik::UniqueIdentifier::TryParse(text).value_or(Dravik::UniqueIdentifier{});
}

std::vector<UINT> TabCommandIds(std::span<const UINT> ids, bool standardCommands) {
    std::vector<UINT> commands = {kTabListCommand, 0};
    if (standardCommands)
        commands.insert(commands.end(), std::begin(kStandardCommands), std::end(kStandardCommands));
    commands.insert(commands.end(), ids.begin(), ids.end());
    return commands;
}

std::vector<UINT> CollectTabCommands(const std::vector<TabControl>& controls, const std::wstring& caption,
                                     bool keepStandard) {
    std::vector<UINT> ids;
    std::optional<std::size_t> lastStandard;
    for (const TabControl& control : controls) {
        if (control.category != caption || control.id == static_cast<int>(kTabListCommand))
            continue;
        // The separator goes before the control that starts a group, where the new bar draws it.
        if (control.beginGroup)
            ids.push_back(0);
        ids.push_back(static_cast<UINT>(control.id));
        if (control.id == 1115 || control.id == 1117)
            lastStandard = ids.size() - 1;
    }
    if (!keepStandard && lastStandard)
        ids.erase(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(*lastStandard + 1));
    while (!ids.empty() && ids.front() == 0)
        ids.erase(ids.begin());
    return ids;
}

std::optional<UINT> ChooseCustomBarId(CXTPCommandBars* bars) {
    for (UINT id = kFirstCustomBarId; id < kCustomBarIdLimit; ++id)
        if (bars->GetToolBar(id) == nullptr)
            return id;
    return std::nullopt;
}

bool CreateToolBarFromTab(CXTPCommandBars* bars, const std::vector<TabControl>& controls,
                          const std::wstring& caption) {
    const bool keepStandard =
        DVMessageBox::Show(DVLoadString(kConvertQuestion).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
    std::vector<UINT> ids = CollectTabCommands(controls, caption, keepStandard);
    if (bars == nullptr || bars->GetSite() == nullptr)
        return false;
    for (int i = 0; i < bars->GetCount(); ++i)
        if (bars->GetAt(i)->GetTitle() == caption.c_str()) {
            CString format = XTPResourceManager()->LoadString(kTitleInUse);
            std::wstring text = format.GetString();
            if (const auto at = text.find(L"%s"); at != std::wstring::npos)
                text.replace(at, 2, caption);
            DVMessageBox::Show(text.c_str(), MB_OK | MB_ICONERROR);
            return false;
        }
    const std::optional<UINT> id = ChooseCustomBarId(bars);
    if (!id) {
        DVMessageBox::Show(XTPResourceManager()->LoadString(kNoFreeBarId).GetString(), MB_OK | MB_ICONERROR);
        return false;
    }
    CXTPToolBar* bar = bars->AddCustomBar(caption.c_str(), *id);
    if (bar == nullptr)
        return false;
    bar->EnableDocking(63);
    bar->SetButtons(ids.data(), static_cast<int>(ids.size()));
    bar->SetVisible(TRUE);
    bars->GetSite()->SendMessage(kToolBarCreated, 0, reinterpret_cast<LPARAM>(bar));
    return true;
}

void SetApplicationCommandNameSource(ApplicationCommandNameSource source) {
    applicationCommandNames() = std::move(source);
}

void AdoptIntoCurrentTab(CXTPToolBar* bar, CXTPControl* control) {
    auto* tabs = dynamic_cast<CDVTabToolBar*>(bar);
    if (tabs == nullptr || control == nullptr)
        return;
    if (CXTPTabManagerItem* current = tabs->GetSelectedCategory())
        control->SetCategory(current->GetCaption());
    if (tabs->IsShowPrompts())
        control->SetStyle(xtpButtonIconAndCaptionBelow);
}

IMPLEMENT_DYNCREATE(CDVTabToolBar, Dravik::UI::TabbableToolBar)

void CDVTabToolBar::remember(CXTPTabManagerItem* tab, const Dravik::UniqueIdentifier& id, SetInfo info) {
    SetGUID(tab, UniqueIdentifierToGuid(id));
    m_sets[tab->GetData()] = std::move(info);
}

CXTPTabManagerItem* CDVTabToolBar::AddTab(LPCWSTR caption, const UINT* ids, int count,
                                          const Dravik::UniqueIdentifier& id, const std::wstring& appKey,
                                          const std::optional<Dravik::UniqueIdentifier>& before, bool visible,
                                          bool standardCommands, BOOL loadIcons) {
    CXTPTabManager* tabs = GetTabManager();
    int at = -1;
    if (before) {
        const GUID key = UniqueIdentifierToGuid(*before);
        for (int i = 0; i < tabs->GetItemCount() && at < 0; ++i)
            if (GetGUID(tabs->GetItem(i)) == key)
                at = i;
    }
    const std::vector<UINT> commands =
        TabCommandIds(std::span<const UINT>(ids, ids != nullptr && count > 0 ? count : 0), standardCommands);
    CXTPTabManagerItem* tab =
        InsertCategory(at, caption, commands.data(), static_cast<int>(commands.size()), loadIcons);
    if (tab == nullptr)
        return nullptr;
    remember(tab, id, SetInfo{appKey, visible, false});
    // A hidden tab stays reachable while it is the one shown.
    tab->SetVisible(visible || tab->IsSelected() ? TRUE : FALSE);
    UpdateTabListPopups();
    UpdateTabs();
    return tab;
}

CXTPTabManagerItem* CDVTabToolBar::AddUserTab(LPCWSTR caption, const UINT* ids, int count, BOOL loadIcons) {
    CXTPTabManagerItem* tab = InsertCategory(-1, caption, ids, count, loadIcons);
    if (tab == nullptr)
        return nullptr;
    remember(tab, GenerateUniqueIdentifier(), SetInfo{L"", true, true});
    tab->SetVisible(TRUE);
    UpdateTabListPopups();
    UpdateTabs();
    return tab;
}

void CDVTabToolBar::RenameTab(LPCWSTR oldCaption, LPCWSTR newCaption) {
    // The bar shows a tab's controls by their category: the tab and its controls move together.
    if (CXTPTabManagerItem* tab = FindCategory(oldCaption))
        tab->SetCaption(newCaption);
    for (CXTPControl* control : *GetControls())
        if (control->GetCategory() == oldCaption)
            control->SetCategory(newCaption);
    UpdateTabListPopups();
    UpdateTabs();
}

std::optional<CommandSetRecord> CDVTabToolBar::RecordOf(const CXTPTabManagerItem* tab) const {
    if (tab == nullptr || tab->GetTabManager() != GetTabManager())
        return std::nullopt;
    CommandSetRecord record;
    record.id = GuidToUniqueIdentifier(GetGUID(tab));
    record.accelKey = GetAccelKey(tab);
    record.accelModifiers = GetAccelModifiers(tab);
    if (const auto found = m_sets.find(tab->GetData()); found != m_sets.end()) {
        record.appKey = found->second.appKey;
        record.visible = found->second.visible;
        record.user = found->second.user;
    }
    return record;
}

std::vector<TabControl> CDVTabToolBar::TabControls() const {
    std::vector<TabControl> controls;
    for (CXTPControl* control : *GetControls())
        controls.push_back(
            {control->GetID(), control->GetCategory().GetString(), control->GetBeginGroup() != FALSE});
    return controls;
}

bool CDVTabToolBar::CreateToolBarFromTab(CXTPTabManagerItem* tab) {
    if (tab == nullptr || tab->GetTabManager() != GetTabManager())
        return false;
    return ::CreateToolBarFromTab(GetCommandBars(), TabControls(), tab->GetCaption().GetString());
}

void CDVTabToolBar::UpdateTabListPopups() {
    CXTPControls* controls = GetControls();
    for (int i = 0; i < controls->GetCount(); ++i) {
        CXTPControl* control = controls->GetAt(i);
        if (control->GetID() != static_cast<int>(kTabListCommand))
            continue;
        auto* popup = dynamic_cast<CXTPControlPopup*>(control);
        if (popup == nullptr) {
            // The tab list opens the tabs as a menu: the plain button the category made is
            // replaced in place.
            const CString category = control->GetCategory();
            const BOOL group = control->GetBeginGroup();
            const BOOL visible = control->IsVisible();
            const XTPButtonStyle style = control->GetStyle();
            controls->Remove(i);
            popup = dynamic_cast<CXTPControlPopup*>(
                controls->Add(xtpControlPopup, static_cast<int>(kTabListCommand), L"", i));
            if (popup == nullptr)
                continue;
            popup->SetCategory(category);
            popup->SetBeginGroup(group);
            popup->SetVisible(visible);
            popup->SetStyle(style);
        }
        UpdateAccelerators();
        HMENU menu = BuildPopupMenu();
        if (menu == nullptr)
            continue;
        CMenu wrapper;
        wrapper.Attach(menu);
        popup->SetCommandBar(&wrapper);
        wrapper.DestroyMenu();
    }
}

void CDVTabToolBar::OnCategoryChanged(CXTPTabManagerItem* pItem) {
    TabbableToolBar::OnCategoryChanged(pItem);
    UpdateTabListPopups();
}

void CDVTabToolBar::SetMainWindowShownQuery(MainWindowShownQuery query) {
    shownQuery() = std::move(query);
}

bool CDVTabToolBar::IsMainWindowShown(CWnd* site) {
    return !shownQuery() || shownQuery()(site);
}

BOOL CDVTabToolBar::ShouldSerializeBar() {
    if (!IsMainWindowShown(GetSite()))
        return TRUE;
    if (CXTPCommandBars* bars = GetCommandBars())
        if (CXTPCommandBarsOptions* options = bars->GetCommandBarsOptions())
            if ((options->bLargeIcons != FALSE) != m_largeIcons)
                return TRUE;
    return TabbableToolBar::ShouldSerializeBar();
}

CXTPCommandBar* CDVTabToolBar::Clone(BOOL bRecursive) {
    auto* bar = new CDVTabToolBar;
    bar->SetCommandBars(GetCommandBars());
    bar->Copy(this, bRecursive);
    return bar;
}

void CDVTabToolBar::Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive) {
    TabbableToolBar::Copy(pCommandBar, bRecursive);
    auto* other = dynamic_cast<CDVTabToolBar*>(pCommandBar);
    if (other == nullptr || other == this)
        return;
    // The tab items copied their key-record numbers, under which the sets are kept.
    m_sets = other->m_sets;
    m_locked = other->m_locked;
    m_largeIcons = other->m_largeIcons;
    m_showPrompts = other->m_showPrompts;
    m_standardFont = other->m_standardFont;
    m_defaultState = other->m_defaultState;
    UpdateTabListPopups();
}

void CDVTabToolBar::DoPropExchange(CXTPPropExchange* pPX) {
    // One "ShowTabs" for the section: the tool kit's bar keeps it. A layout without it shows no tabs.
    const bool showTabsStored = pPX->IsStoring() || pPX->IsPropertyPresent(L"ShowTabs");
    TabbableToolBar::DoPropExchange(pPX);
    if (!showTabsStored)
        ShowTabs(FALSE);
    PX_Bool(pPX, L"Lock", m_locked, false);
    PX_Bool(pPX, L"LargeIcons", m_largeIcons, false);
    PX_Bool(pPX, L"ShowPrompts", m_showPrompts, false);
    PX_Bool(pPX, L"StandardFont", m_standardFont, false);
    PX_UniqueIdentifier(pPX, L"DefaultState", m_defaultState);

    CXTPTabManager* tabs = GetTabManager();
    int count = tabs->GetItemCount();
    PX_Int(pPX, L"TabCount", count, 0);
    if (!pPX->IsStoring()) {
        loadCommandSets(pPX);
        return;
    }
    CXTPPropExchangeEnumeratorPtr sets(pPX->GetEnumerator(L"CommandSet"));
    POSITION position = sets->GetPosition(static_cast<DWORD>(tabs->GetItemCount()));
    for (int i = 0; i < tabs->GetItemCount() && position != nullptr; ++i) {
        CXTPPropExchangeSection section(sets->GetNext(position));
        CommandSetRecord record = RecordOf(tabs->GetItem(i)).value_or(CommandSetRecord{});
        CString name = tabs->GetItem(i)->GetCaption();
        CString appKey = record.appKey.c_str();
        PX_UniqueIdentifier(&*section, L"ID", record.id);
        PX_String(&*section, L"TabName", name, L"");
        PX_String(&*section, L"AppKey", appKey, L"");
        PX_Bool(&*section, L"Visible", record.visible, true);
        PX_Bool(&*section, L"User", record.user, false);
        PX_Int(&*section, L"AccelMod", record.accelModifiers, 0);
        PX_Int(&*section, L"AccelKey", record.accelKey, 0);
    }
}

void CDVTabToolBar::loadCommandSets(CXTPPropExchange* pPX) {
    // The tool kit's bar has brought its tabs back already; the command sets say what the tabs
    // are, so the tabs are made again from them rather than added to what is there.
    CXTPTabManager* tabs = GetTabManager();
    const CXTPTabManagerItem* selected = tabs->GetSelectedItem();
    const CString current = selected != nullptr ? selected->GetCaption() : CString();
    tabs->DeleteAllItems();
    m_sets.clear();
    CXTPPropExchangeEnumeratorPtr sets(pPX->GetEnumerator(L"CommandSet"));
    POSITION position = sets->GetPosition();
    while (position != nullptr) {
        CXTPPropExchangeSection section(sets->GetNext(position));
        CommandSetRecord record;
        CString name, appKey;
        PX_String(&*section, L"TabName", name, L"");
        PX_String(&*section, L"AppKey", appKey, L"");
        PX_Bool(&*section, L"Visible", record.visible, true);
        PX_Bool(&*section, L"User", record.user, false);
        PX_UniqueIdentifier(&*section, L"ID", record.id);
        PX_Int(&*section, L"AccelMod", record.accelModifiers, 0);
        PX_Int(&*section, L"AccelKey", record.accelKey, 0);
        // A tab nobody could tell from another shows no controls of its own.
        if (name.IsEmpty() || FindCategory(name) != nullptr)
            continue;
        CXTPTabManagerItem* tab = tabs->InsertItem(tabs->GetItemCount(), name);
        tab->SetVisible(record.visible ? TRUE : FALSE);
        remember(tab, record.id, SetInfo{appKey.GetString(), record.visible, record.user});
        if (record.accelKey > 0 && record.accelKey <= 0xFF && record.accelModifiers >= 0 &&
            record.accelModifiers <= 0xFF)
            SetAccel(tab, static_cast<WORD>(record.accelKey), static_cast<BYTE>(record.accelModifiers));
    }
    if (CXTPTabManagerItem* again = current.IsEmpty() ? nullptr : FindCategory(current))
        tabs->SetSelectedItem(again);
    nameApplicationCommands();
    UpdateTabListPopups();
    UpdateTabs();
}

void CDVTabToolBar::nameApplicationCommands() {
    if (!applicationCommandNames())
        return;
    for (CXTPControl* control : *GetControls()) {
        const int id = control->GetID();
        if (id < kFirstApplicationCommand || id > kLastApplicationCommand)
            continue;
        const std::optional<std::wstring> name = applicationCommandNames()(static_cast<UINT>(id));
        if (!name)
            continue;
        control->SetDescription(L"");
        control->SetTooltip(L"");
        if (!name->empty()) {
            control->SetCaption(name->c_str());
            control->SetPrompt(name->c_str());
        }
    }
}
