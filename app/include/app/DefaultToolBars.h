// The default tool bars: a static table of bars, each with its own and its entries' edition
// masks, turned once per process into the command-id list of every bar for the running mode
// code. The frame tools engine builds the default bars from the result; the main frame's
// tab-list popup lists its tabs.
#pragma once

#include "pal/visibility.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

DV_EXPORTS_BEGIN

struct GUID;

namespace dvapp {

inline constexpr std::size_t kToolBarEntryCount = 60;
inline constexpr std::size_t kMaxToolBars = 26;
inline constexpr std::uint32_t kToolBarEntriesEnd = 0xFFFFFF;
inline constexpr const wchar_t* kToolBarTableEnd = L"DVEndDefaultTB";
// The control that lists the tabs of the tabbed tool bar; every tab's list starts with it.
inline constexpr std::uint32_t kToolBarModeCommand = 1075;

enum ToolBarKind : std::uint32_t {
    NotBuilt = 0,
    TabbedToolBarTab = 1,
};

struct ToolBarEntry {
    std::uint32_t id;   // 0 is a separator
    std::uint32_t mask; // the entry counts when it shares a bit with the mode code
};

struct DefaultToolBarRecord;

// A bar's list: up to 60 ids, their count and the record it was built from.
struct BuiltToolBar {
    std::array<std::uint32_t, kToolBarEntryCount> ids{};
    std::uint64_t count = 0;
    const DefaultToolBarRecord* record = nullptr;
};

using ToolBarBuildFunction = void (*)(const DefaultToolBarRecord& record, BuiltToolBar& bar,
                                      std::uint32_t modeCode);

// One row of the table. Writable: the localised caption is stored back into it.
struct DefaultToolBarRecord {
    wchar_t caption[81];
    std::uint32_t captionStringId;
    const GUID* guid; // the null GUID for bars that are not tabs
    std::uint32_t barId;
    std::uint32_t secondFlag; // passed on by the frame tools engine when it creates the bar
    std::uint32_t kind;       // ToolBarKind; 4 and 6 are other bar kinds
    std::uint32_t editionMask;
    ToolBarEntry entries[kToolBarEntryCount];
    ToolBarBuildFunction build;
};

// The result of one build: the bars taken, in table order.
struct BuiltToolBars {
    std::array<BuiltToolBar, kMaxToolBars> bars{};
    std::size_t count = 0;

    std::span<const BuiltToolBar> span() const { return {bars.data(), count}; }
};

// The static table with its end row.
std::span<DefaultToolBarRecord> DefaultToolBarTable();

// The build function of every record: fills the bar's ids with the entries that match the mode
// code, after 1075 and a separator for a tab of the tabbed tool bar. Throws std::length_error
// when the entries do not fit (the table never does that).
void BuildToolBarIds(const DefaultToolBarRecord& record, BuiltToolBar& bar, std::uint32_t modeCode);

// Builds the bars of a table for a mode code into `result`: bars whose mask misses the mode code
// or whose kind is 0 are skipped; a bar that received no ids gives its element to the next one.
// Captions are loaded from the string resources into the records.
void BuildToolBars(std::span<DefaultToolBarRecord> table, std::uint32_t modeCode, BuiltToolBars& result);

// The default tool bars for the mode code of the first call, built once (thread-safe); a build
// that fails is tried again by the next call.
std::span<const BuiltToolBar> BuildDefaultToolBars();

} // namespace dvapp

DV_EXPORTS_END
