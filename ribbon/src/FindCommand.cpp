#include "ribbon/FindCommand.h"

#include "ribbon/FrameToolsApplication.h"

#include "Compression/TextFileReadStream.h"
#include "DVTextCore/SearchableText.h"
#include "DravikKernel/CommandCatalogue.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/XMLNumbers.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <optional>
#include <string_view>

namespace {

constexpr int kFirstAddOnCommand = 15000;
constexpr int kLastAddOnCommand = 16999;

bool inRange(int id, int first, int last) {
    return id >= first && id <= last;
}

std::wstring_view nameOf(const FoundCommand& found) {
    const std::wstring_view text(found.text);
    const std::size_t feed = text.find(L'\n');
    return feed == std::wstring_view::npos ? text : text.substr(feed + 1);
}

std::wstring_view trimmed(std::wstring_view text) {
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.back())))
        text.remove_suffix(1);
    return text;
}

// Read once per process; edits of the files take effect after a restart.
const CommandTagsMap& commandTags() {
    static const CommandTagsMap table = [] {
        CommandTagsMap loaded;
        LoadCommandTags(loaded, DVAppendProgramPath(L"CommandTags.txt", 0, true));
        // "CommandTags.%s.txt" with the language's two-letter code.
        const std::wstring language =
            L"CommandTags." + GlobalContainer::Instance().GetLocaleAlpha2Code() + L".txt";
        LoadCommandTags(loaded, DVAppendProgramPath(language.c_str(), 0, true));
        return loaded;
    }();
    return table;
}

bool isInternalApplicationCommand(int id) {
    const FrameToolsApplication* app = FrameToolsApplication::Instance();
    return app != nullptr && inRange(id, 17000, 32000) &&
           app->IsInternalApplicationCommand(static_cast<UINT>(id));
}

} // namespace

std::wstring RemoveSingleAmpersands(const std::wstring& caption) {
    std::wstring out;
    out.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != L'&') {
            out += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == L'&') {
            out += L"&&";
            ++i;
        }
    }
    return out;
}

void MatchCommand(MatchCommandContext& context, int id, const std::wstring& caption) {
    if (!IsCommandVisible(static_cast<unsigned>(id)) || caption.empty())
        return;
    if (inRange(id, 1190, 1199) && static_cast<std::size_t>(id - 1190) >= context.profileCount)
        return;
    if (isInternalApplicationCommand(id))
        return;
    std::wstring text = RemoveSingleAmpersands(caption);
    const std::wstring* tags = context.findBySynonyms ? FindCommandTags(commandTags(), id) : nullptr;
    const bool found = id == context.filterNumber || context.filter.empty() ||
                       (tags != nullptr && tags->find(context.filter) != std::wstring::npos) ||
                       Dravik::GetSearchableEquivalent(text).find(context.filter) != std::wstring::npos;
    if (found)
        context.result.push_back({id, std::move(text)});
}

std::vector<FoundCommand> FillCommandList(const std::wstring& filter) {
    std::vector<FoundCommand> result;
    const std::map<int, std::wstring> table = GlobalContainer::Instance().GetCommandTable();
    result.reserve(table.size());
    std::vector<std::wstring> profiles;
    DravikProfileManager::GetProfiles(profiles, true);
    const std::size_t profileCount = profiles.size();
    const int filterNumber = DravikXML::StringToInt(filter, 0, 10);
    const bool findBySynonyms = GetOptions().findBySynonyms != 0;
    MatchCommandContext context{profileCount, findBySynonyms, filterNumber, filter, result};
    for (const auto& [id, caption] : table)
        MatchCommand(context, id, caption);
    const DVCommandContainer& container = DVCommandContainer::Instance();
    for (int id = kFirstAddOnCommand; id <= kLastAddOnCommand; ++id) {
        if (!container.IsRegistered(static_cast<unsigned>(id)) || table.contains(id))
            continue;
        const auto strings = UIModuleProxy::Instance().GetCommandStrings(static_cast<unsigned>(id));
        if (!strings)
            continue;
        const std::wstring caption = !strings->Description.empty() && strings->Description != strings->Caption
                                         ? strings->Description + L"\n" + strings->Caption
                                         : strings->Caption;
        MatchCommand(context, id, caption);
    }
    std::sort(result.begin(), result.end(), FoundCommandLess);
    return result;
}

void LoadCommandTags(CommandTagsMap& table, const std::wstring& path) {
    dvio::TextFileReadStream stream;
    if (!stream.Open(path, 32, 0, true))
        return;
    std::wstring line;
    while (stream.ReadString(line)) {
        const std::wstring_view text = trimmed(line);
        const std::size_t space = text.find(L' ');
        if (text.empty() || space == std::wstring_view::npos)
            continue;
        const std::wstring_view name = text.substr(0, space);
        std::optional<int> id;
        if (const auto known = DVCommandContainer::Instance().GetCommandId(name))
            id = static_cast<int>(*known);
        else
            id = DravikXML::TryStringToInt(name, 10);
        if (!id || !IsCommandVisible(static_cast<unsigned>(*id)) || inRange(*id, 9334, 9800) ||
            inRange(*id, 17000, 32000) || inRange(*id, 46000, 47999))
            continue;
        const std::wstring tags =
            RemoveSingleAmpersands(Dravik::GetSearchableEquivalent(text.substr(space + 1)));
        if (tags.empty())
            continue;
        const auto [entry, inserted] = table.emplace(*id, tags);
        if (!inserted)
            entry->second += L";" + tags;
    }
}

const std::wstring* FindCommandTags(const CommandTagsMap& table, int id) {
    const auto it = table.find(id);
    return it == table.end() ? nullptr : &it->second;
}

bool FoundCommandLess(const FoundCommand& a, const FoundCommand& b) {
    const std::wstring_view nameA = nameOf(a);
    const std::wstring_view nameB = nameOf(b);
    if (nameA.empty())
        return nameB.empty() && a.id < b.id;
    if (nameB.empty())
        return true;
    // By UTF-16 code unit: a character past U+FFFF sorts by its high surrogate, below U+E000.
    const auto firstUnit = [](wchar_t c) {
        const auto point = static_cast<std::uint32_t>(c);
        return point >= 0x10000 ? 0xD800 + ((point - 0x10000) >> 10) : point;
    };
    const auto mismatch = std::mismatch(nameA.begin(), nameA.end(), nameB.begin(), nameB.end());
    if (mismatch.first == nameA.end())
        return mismatch.second != nameB.end();
    if (mismatch.second == nameB.end())
        return false;
    const std::uint32_t unitA = firstUnit(*mismatch.first), unitB = firstUnit(*mismatch.second);
    if (unitA != unitB)
        return unitA < unitB;
    return static_cast<std::uint32_t>(*mismatch.first) < static_cast<std::uint32_t>(*mismatch.second);
}
