#include "frame/TabToolBar.h"

#include "DravikKernel/KernelServices.h"
#include "xtp/CommandBars.h"
#include "xtp/PropExchange.h"
#include "xtp/ResourceManager.h"
#include "xtp/ToolBar.h"

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

constexpr UINT kTabListCommand = 1075;
constexpr UINT kStandardCommands[] = {1065, 1064, 1072, 0, 1001, 1029, 1027, 0, 1115, 1117, 0};
constexpr UINT kFirstCustomBarId = 59392;
constexpr UINT kCustomBarIdLimit = 59647;
constexpr UINT kConvertQuestion = 41751;
constexpr UINT kNoFreeBarId = 9165;
constexpr UINT kTitleInUse = 9166;
constexpr UINT kToolBarCreated = 10341;

void exchangeBool(CXTPPropExchange* pPX, LPCWSTR name, bool& value, bool fallback) {
    PX_Bool(pPX, name, value, fallback);
}

} // namespace

std::wstring UniqueIdentifierToString(const Dravik::UniqueIdentifier& id) {
    const auto& b = id.bytes;
    wchar_t text[40];
    std::swprintf(text, std::size(text),
                  L"{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[0], b[1], b[2],
                  b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return text;
}

Dravik::UniqueIdentifier GenerateUniqueIdentifier() {
    static std::random_device device;
    Dravik::UniqueIdentifier id;
    for (auto& byte : id.bytes)
        byte = static_cast<std::uint8_t>(device() & 0xFF);
    id.bytes[6] = static_cast<std::uint8_t>((id.bytes[6] & 0x0F) | 0x40); // version 4
    id.bytes[8] = static_cast<std::uint8_t>((id.bytes[8] & 0x3F) | 0x80);
    return id;
}

BOOL PX_UniqueIdentifier(CXTPPropExchange* pPX, LPCWSTR pszPropName, Dravik::UniqueIdentifier& id) {
    if (pPX->IsStoring()) {
        CString text = UniqueIdentifierToString(id).c_str();
        return pPX->ExchangeText(pszPropName, text);
    }
    CString text;
    if (!pPX->IsPropertyPresent(pszPropName) || !pPX->ExchangeText(pszPropName, text))
        return FALSE;
    const auto parsed = Dravik::UniqueIdentifier::TryParse(text.GetString());
    if (!parsed)
        return FALSE;
    id = *parsed;
    return TRUE;
}

std::vector<UINT> TabCommandIds(std::span<const UINT> ids, bool standardCommands) {
    std::vector<UINT> commands = {kTabListCommand, 0};
    if (standardCommands)
        commands.insert(commands.end(), std::begin(kStandardCommands), std::end(kStandardCommands));
    commands.insert(commands.end(), ids.begin(), ids.end());
    return commands;
}

std::size_t CommandSetTabs::AddTab(const std::wstring& caption, std::span<const UINT> ids,
                                   const Dravik::UniqueIdentifier& id, const std::wstring& appKey,
                                   const std::optional<Dravik::UniqueIdentifier>& before, bool visible,
                                   bool standardCommands, std::vector<UINT>& commands) {
    std::size_t at = tabs.size();
    if (before)
        for (std::size_t i = 0; i < tabs.size(); ++i)
            if (const CommandSetRecord* record = RecordOf(i); record && record->id == *before) {
                at = i;
                break;
            }
    records.push_back({id, appKey, 0, 0, visible, false});
    commands = TabCommandIds(ids, standardCommands);
    const bool current = currentTab >= 0 && static_cast<std::size_t>(currentTab) == at;
    tabs.insert(tabs.begin() + static_cast<std::ptrdiff_t>(at),
                Tab{caption, records.size(), showTabs && (visible || current)});
    if (currentTab >= 0 && static_cast<std::size_t>(currentTab) >= at && !current)
        ++currentTab;
    return at;
}

std::size_t CommandSetTabs::AddUserTab(const std::wstring& caption) {
    records.push_back({GenerateUniqueIdentifier(), L"", 0, 0, true, true});
    tabs.push_back(Tab{caption, records.size(), true});
    return tabs.size() - 1;
}

const CommandSetRecord* CommandSetTabs::RecordOf(std::size_t tab) const {
    if (tab >= tabs.size() || tabs[tab].record == 0 || tabs[tab].record > records.size())
        return nullptr;
    return &records[tabs[tab].record - 1];
}

void CommandSetTabs::DoPropExchange(CXTPPropExchange* pPX) {
    exchangeBool(pPX, L"ShowTabs", showTabs, false);
    exchangeBool(pPX, L"Lock", locked, false);
    exchangeBool(pPX, L"LargeIcons", largeIcons, false);
    exchangeBool(pPX, L"ShowPrompts", showPrompts, false);
    exchangeBool(pPX, L"StandardFont", standardFont, false);
    PX_UniqueIdentifier(pPX, L"DefaultState", defaultState);

    int count = static_cast<int>(tabs.size());
    PX_Int(pPX, L"TabCount", count, 0);
    CXTPPropExchangeEnumeratorPtr sets(pPX->GetEnumerator(L"CommandSet"));
    if (pPX->IsStoring()) {
        POSITION position = sets->GetPosition(static_cast<DWORD>(tabs.size()));
        for (std::size_t i = 0; i < tabs.size() && position != nullptr; ++i) {
            CXTPPropExchangeSection section(sets->GetNext(position));
            CommandSetRecord record = RecordOf(i) ? *RecordOf(i) : CommandSetRecord{};
            CString name = tabs[i].caption.c_str();
            CString appKey = record.appKey.c_str();
            PX_UniqueIdentifier(&*section, L"ID", record.id);
            PX_String(&*section, L"TabName", name, L"");
            PX_String(&*section, L"AppKey", appKey, L"");
            PX_Bool(&*section, L"Visible", record.visible, true);
            PX_Bool(&*section, L"User", record.user, false);
            PX_Int(&*section, L"AccelMod", record.accelModifiers, 0);
            PX_Int(&*section, L"AccelKey", record.accelKey, 0);
        }
        return;
    }
    records.clear();
    tabs.clear();
    currentTab = -1;
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
        record.appKey = appKey.GetString();
        records.push_back(std::move(record));
        tabs.push_back(Tab{name.GetString(), records.size(), showTabs && records.back().visible});
    }
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
