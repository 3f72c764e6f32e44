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
#include <mutex>
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
    if (!inRange(id, 17000, 32000))
        return false;
    const FrameToolsApplication* app = FrameToolsApplication::Instance();
    return app != nullptr && app->IsInternalApplicationCommand(static_cast<UINT>(id));
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

namespace {

// Whether a command may be offered at all: steps that hold whatever the filter.
bool isOffered(const MatchCommandContext& context, int id) {
    if (!IsCommandVisible(static_cast<unsigned>(id)))
        return false;
    if (inRange(id, 1190, 1199) && static_cast<std::size_t>(id - 1190) >= context.profileCount)
        return false;
    return !isInternalApplicationCommand(id);
}

// Whether the filter finds an offered command, by its id, its tags or its searchable text.
bool isFound(const MatchCommandContext& context, int id, const std::wstring& searchable) {
    if (id == context.filterNumber || context.filter.empty())
        return true;
    if (context.findBySynonyms)
        if (const std::wstring* tags = FindCommandTags(commandTags(), id);
            tags != nullptr && tags->find(context.filter) != std::wstring::npos)
            return true;
    return searchable.find(context.filter) != std::wstring::npos;
}

// A command of the search as every search tests it: its shown and its searchable text made
// once, not at every keystroke.
struct SearchEntry {
    int id = 0;
    FoundCommand found;
    std::wstring searchable;
};

// The commands the search walks, in the order of their names, made again when the kernel's
// table or a command's texts change.
struct SearchIndex {
    std::mutex mutex;
    std::optional<std::uint64_t> version;
    std::size_t tableSize = 0;
    std::vector<SearchEntry> entries;
};

void addEntry(std::vector<SearchEntry>& entries, int id, const std::wstring& caption) {
    if (caption.empty())
        return;
    SearchEntry entry;
    entry.id = id;
    entry.found = {id, RemoveSingleAmpersands(caption)};
    entry.searchable = Dravik::GetSearchableEquivalent(entry.found.text);
    entries.push_back(std::move(entry));
}

void rebuild(SearchIndex& index) {
    const std::map<int, std::wstring> table = GlobalContainer::Instance().GetCommandTable();
    index.tableSize = table.size();
    index.entries.clear();
    for (const auto& [id, caption] : table)
        addEntry(index.entries, id, caption);
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
        addEntry(index.entries, id, caption);
    }
    // Walked in this order, the commands a search keeps come out sorted already.
    std::sort(index.entries.begin(), index.entries.end(),
              [](const SearchEntry& a, const SearchEntry& b) { return FoundCommandLess(a.found, b.found); });
    // The texts made again in that order lie in memory as the search walks them.
    std::vector<SearchEntry> walked;
    walked.reserve(index.entries.size());
    for (const SearchEntry& entry : index.entries)
        walked.push_back(
            {entry.id, {entry.id, std::wstring(entry.found.text)}, std::wstring(entry.searchable)});
    index.entries = std::move(walked);
}

SearchIndex& searchIndex() {
    static auto* index = new SearchIndex;
    return *index;
}

} // namespace

void MatchCommand(MatchCommandContext& context, int id, const std::wstring& caption) {
    if (caption.empty() || !isOffered(context, id))
        return;
    std::wstring text = RemoveSingleAmpersands(caption);
    if (isFound(context, id, Dravik::GetSearchableEquivalent(text)))
        context.result.push_back({id, std::move(text)});
}

std::vector<FoundCommand> FillCommandList(const std::wstring& filter) {
    SearchIndex& index = searchIndex();
    std::lock_guard lock(index.mutex);
    const std::uint64_t version = GlobalContainer::Instance().GetCommandTableVersion();
    if (index.version != version) {
        rebuild(index);
        index.version = version;
    }
    std::vector<FoundCommand> result;
    result.reserve(index.tableSize);
    std::vector<std::wstring> profiles;
    DravikProfileManager::GetProfiles(profiles, true);
    const std::size_t profileCount = profiles.size();
    const int filterNumber = DravikXML::StringToInt(filter, 0, 10);
    const bool findBySynonyms = GetOptions().findBySynonyms != 0;
    MatchCommandContext context{profileCount, findBySynonyms, filterNumber, filter, result};
    for (const SearchEntry& entry : index.entries)
        if (isOffered(context, entry.id) && isFound(context, entry.id, entry.searchable))
            result.push_back(entry.found);
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
