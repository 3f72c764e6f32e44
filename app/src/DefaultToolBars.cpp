#include "app/DefaultToolBars.h"

#include "ribbon/ApplicationMode.h"

#include "afxwin.h"

#include <cwchar>
#include <mutex>
#include <stdexcept>

namespace dvapp {
namespace {

bool matches(std::uint32_t mask, std::uint32_t modeCode) {
    return (mask & modeCode) != 0;
}

// The entries of a record up to its end mark or its 60th entry.
std::span<const ToolBarEntry> entriesOf(const DefaultToolBarRecord& record) {
    std::size_t count = 0;
    while (count < kToolBarEntryCount && record.entries[count].id != kToolBarEntriesEnd)
        ++count;
    return {record.entries, count};
}

} // namespace

void BuildToolBarIds(const DefaultToolBarRecord& record, BuiltToolBar& bar, std::uint32_t modeCode) {
    const std::span<const ToolBarEntry> entries = entriesOf(record);
    std::size_t matching = 0;
    for (const ToolBarEntry& entry : entries)
        matching += matches(entry.mask, modeCode) ? 1 : 0;
    if (matching == 0)
        return;

    std::size_t capacity = kToolBarEntryCount;
    if (record.kind == TabbedToolBarTab) {
        bar.ids[bar.count++] = kToolBarModeCommand;
        bar.ids[bar.count++] = 0;
        capacity -= 2;
    }
    if (matching > capacity)
        throw std::length_error("default tool bar has more entries than its list holds");
    for (const ToolBarEntry& entry : entries)
        if (matches(entry.mask, modeCode))
            bar.ids[bar.count++] = entry.id;
}

void BuildToolBars(std::span<DefaultToolBarRecord> table, std::uint32_t modeCode, BuiltToolBars& result) {
    result = BuiltToolBars{};
    const std::size_t rows = std::min(table.size(), kMaxToolBars);
    for (std::size_t i = 0; i < rows; ++i) {
        DefaultToolBarRecord& record = table[i];
        if (std::wcscmp(record.caption, kToolBarTableEnd) == 0)
            break;
        if (!matches(record.editionMask, modeCode) || record.kind == NotBuilt)
            continue;

        wchar_t caption[std::size(DefaultToolBarRecord{}.caption)];
        if (AfxLoadString(record.captionStringId, caption, static_cast<UINT>(std::size(caption))) > 0)
            std::wcscpy(record.caption, caption);

        // A bar that received no ids leaves its element to this one.
        if (result.count > 0 && result.bars[result.count - 1].count == 0)
            --result.count;
        if (result.count == kMaxToolBars)
            break;
        BuiltToolBar& bar = result.bars[result.count++];
        bar = BuiltToolBar{};
        bar.record = &record;
        if (record.build != nullptr)
            record.build(record, bar, modeCode);
    }
}

std::span<const BuiltToolBar> BuildDefaultToolBars() {
    static std::once_flag once;
    static BuiltToolBars built;
    // An exception leaves the flag unset, so the next call builds again.
    std::call_once(once, [] { BuildToolBars(DefaultToolBarTable(), GetApplicationModeCode(), built); });
    return built.span();
}

} // namespace dvapp
