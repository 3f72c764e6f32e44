#include "ribbon/CommandDescriptions.h"

#include "Compression/TextFileReadStream.h"
#include "DVDiagnostics/DVLog.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/CommandCatalogue.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/ImageBitmap.h"
#include "xtp/CommandBars.h"
#include "xtp/ShortcutManager.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cwctype>
#include <map>
#include <utility>
#include <vector>

namespace {

struct Range {
    UINT first;
    UINT last;
};

constexpr Range kNoLookup[] = {{1116, 1116},   {0, 599},       {2701, 2790},   {6000, 6999},
                               {9000, 9100},   {9313, 9800},   {17000, 32000}, {37000, 39199},
                               {46000, 47999}, {61440, 61824}, {65000, 65049}, {65536, UINT_MAX}};

constexpr UINT kNoHelpHint[] = {1048, 1068, 1128,  1129,  1130,  1205,  1206,  1236, 1575,
                                1582, 1601, 1735,  1736,  1763,  1996,  2110,  2113, 2115,
                                2871, 7306, 57664, 57666, 57668, 57669, 57670, 57671};

bool inAny(UINT id, std::initializer_list<Range> ranges) {
    return std::any_of(ranges.begin(), ranges.end(), [id](Range r) { return id >= r.first && id <= r.last; });
}

bool hasLookup(UINT id) {
    return !std::any_of(std::begin(kNoLookup), std::end(kNoLookup),
                        [id](Range r) { return id >= r.first && id <= r.last; });
}

// Every record lives for the process; only the user-interface thread reads it.
std::map<UINT, CommandDescriptionRecord>& cache() {
    static auto* records = new std::map<UINT, CommandDescriptionRecord>;
    return *records;
}

std::wstring_view trimStart(std::wstring_view text) {
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.front())))
        text.remove_prefix(1);
    return text;
}

std::wstring_view trimEnd(std::wstring_view text) {
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::wstring trim(std::wstring_view text) {
    return std::wstring(trimEnd(trimStart(text)));
}

// The keyboard code a caption may start with ("Ctrl+L: Line"), and the caption after it.
std::pair<std::wstring, std::wstring> splitKeyCode(const std::wstring& caption) {
    const std::size_t colon = caption.find(L':');
    if (colon == std::wstring::npos || colon == 0)
        return {std::wstring(), caption};
    return {caption.substr(0, colon), std::wstring(trimStart(std::wstring_view(caption).substr(colon + 1)))};
}

void logWide(int level, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    DVLog_WriteWV(level, format, args);
    va_end(args);
}

std::wstring internalName(UINT id, const std::optional<UIModuleProxy::CommandStrings>& strings) {
    if (auto name = DVCommandContainer::Instance().GetCommandName(id); name && !name->empty())
        return *name;
    return strings ? strings->Name : std::wstring();
}

void readDescriptionFile(const std::wstring& fileName, COLORREF background,
                         CommandDescriptionRecord& record) {
    const std::wstring folder = L"CommandInfo\\" + fileName;
    const std::wstring path = DVAppendProgramPath((folder + L".txt").c_str(), 0, false);
    dvio::TextFileReadStream stream;
    if (!stream.Open(path, 32, 0, true))
        return;
    std::wstring text;
    if (!stream.ReadAll(text)) {
        logWide(DVLogWarning, L"Failed to read command description from \"%ls\"", path.c_str());
        return;
    }
    const auto parsed = ParseCommandDescription(text);
    if (!parsed)
        return;
    if (!parsed->description.empty())
        record.description = parsed->description;
    record.extendedDescription = parsed->extendedDescription;
    if (!record.extendedDescription.empty()) {
        const std::wstring picture = DVAppendProgramPath((folder + L".png").c_str(), 0, false);
        record.picture.Attach(Dravik::CreateImageBitmap(picture, background));
    }
}

} // namespace

bool ShowsHelpHint(UINT id) {
    return !inAny(id, {{17000, 32000}}) &&
           std::find(std::begin(kNoHelpHint), std::end(kNoHelpHint), id) == std::end(kNoHelpHint);
}

std::optional<CommandDescriptionText> ParseCommandDescription(std::wstring_view text) {
    text = trimEnd(trimStart(text));
    if (text.empty())
        return std::nullopt;
    CommandDescriptionText parsed;
    const std::size_t marker = text.size() < 3 ? std::wstring_view::npos : text.find(L"---");
    if (marker == std::wstring_view::npos) {
        parsed.description = std::wstring(text);
        return parsed;
    }
    parsed.description = std::wstring(trimEnd(text.substr(0, marker)));
    const std::size_t feed = text.find(L'\n', marker + 3);
    const std::size_t start = feed == std::wstring_view::npos ? marker + 3 : feed + 1;
    parsed.extendedDescription = std::wstring(trimStart(text.substr(std::min(start, text.size()))));
    return parsed;
}

std::optional<std::wstring> CommandDescriptionFileName(UINT id, std::wstring_view name) {
    if (name.empty()) {
        if (id >= 15000 && id <= 16999)
            return std::nullopt;
        return std::to_wstring(id);
    }
    // An add-on names its commands: the name must not lead the file out of the folder.
    if (name.find_first_of(L"\\/:") != std::wstring_view::npos || name.find(L"..") != std::wstring_view::npos)
        return std::nullopt;
    return std::wstring(name);
}

std::wstring CommandKeyboardCall(UINT id, std::wstring_view keyCode, std::wstring_view shortcut,
                                 CXTPCommandBars* commandBars) {
    std::vector<std::pair<int, std::wstring>> entries;
    if (!keyCode.empty())
        entries.emplace_back(INT_MIN, std::wstring(keyCode));
    if (!shortcut.empty())
        entries.emplace_back(-1, std::wstring(shortcut));
    if (commandBars != nullptr) {
        const CXTPShortcutManager* shortcuts = commandBars->GetShortcutManager();
        for (const CXTPShortcutManagerAccel& accel : shortcuts->FindShortcuts(static_cast<int>(id))) {
            int priority = 0;
            const CString keys = shortcuts->Format(&accel, &priority);
            entries.emplace_back(priority, keys.GetString());
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::wstring call;
    const std::wstring* previous = nullptr;
    for (const auto& [priority, text] : entries) {
        if (previous != nullptr && *previous == text)
            continue;
        if (!call.empty())
            call += L"; ";
        call += text;
        previous = &text;
    }
    return call;
}

const CommandDescriptionRecord* ReadCommandDescription(UINT id, CXTPCommandBars* commandBars,
                                                       COLORREF background) {
    if (const auto it = cache().find(id); it != cache().end())
        return &it->second;
    if (!hasLookup(id))
        return nullptr;
    const auto strings = UIModuleProxy::Instance().GetCommandStrings(id);
    CommandDescriptionRecord record;
    record.name = internalName(id, strings);
    const bool addOn = id >= 15000 && id <= 16999;
    if (addOn && record.name.empty())
        return nullptr;
    std::wstring keyCode;
    if (strings) {
        auto [code, caption] = splitKeyCode(strings->ToolTip);
        keyCode = std::move(code);
        if (!strings->Title.empty()) {
            record.title = strings->Title;
            record.description = std::move(caption);
        } else {
            record.title = std::move(caption);
        }
    }
    if (const auto fileName = CommandDescriptionFileName(id, record.name))
        readDescriptionFile(*fileName, background, record);
    // A command the kernel cannot carry out keeps saying so, whatever its description file says.
    if (const DVCatalogueCommand* entry = DVFindCatalogueCommand(id); entry != nullptr && !entry->runs) {
        const std::wstring cannot = Dravik::I18n::Translate("commands.not_in_this_kernel");
        if (record.description.find(cannot) == std::wstring::npos)
            record.description += (record.description.empty() ? L"" : L"\n") + cannot;
    }
    record.keyboardCall = CommandKeyboardCall(
        id, keyCode, strings ? std::wstring_view(strings->Shortcut) : std::wstring_view(), commandBars);
    record.title = trim(record.title);
    record.description = trim(record.description);
    record.extendedDescription = trim(record.extendedDescription);
    record.keyboardCall = trim(record.keyboardCall);
    return &cache().emplace(id, std::move(record)).first->second;
}

bool CacheCommandDescription(UINT id, const CommandDescriptionRecord& record) {
    const auto [it, inserted] = cache().emplace(id, record);
    return inserted || it->second == record;
}

void RefreshCommandToolTips(CXTPCommandBars* commandBars) {
    for (auto& [id, record] : cache()) {
        const auto strings = UIModuleProxy::Instance().GetCommandStrings(id);
        const std::wstring keyCode = strings ? splitKeyCode(strings->ToolTip).first : std::wstring();
        record.keyboardCall = trim(CommandKeyboardCall(
            id, keyCode, strings ? std::wstring_view(strings->Shortcut) : std::wstring_view(), commandBars));
    }
}
