// The default tool bars: the table's shape, its build for the application modes 0, 2, 8 and
// 16, and the rules of the build on small tables of its own.
#include "app/CommandIdRanges.h"
#include "app/DefaultToolBars.h"

#include "pal/text.h"
#include "ribbon/ApplicationMode.h"

#include "afxwin.h"
#include "win/com/guid.h"

#include "fixture_table.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace dvapp::test {
namespace {

constexpr UINT kFixtureCaptionString = 64001;
const AFX_STRING_RESOURCE kStrings[] = {{kFixtureCaptionString, L"Localised bar"}};
AFX_STRING_TABLE(kStrings);

using Ids = std::vector<std::uint32_t>;

std::vector<ToolBarEntry> entriesOf(const DefaultToolBarRecord& record) {
    std::vector<ToolBarEntry> entries;
    for (const ToolBarEntry& entry : record.entries) {
        if (entry.id == kToolBarEntriesEnd)
            break;
        entries.push_back(entry);
    }
    return entries;
}

const DefaultToolBarRecord& bar(const std::wstring& caption) {
    for (const DefaultToolBarRecord& record : DefaultToolBarTable())
        if (caption == record.caption)
            return record;
    throw std::out_of_range("no such bar");
}

Ids idsOf(const BuiltToolBar& built) {
    return Ids(built.ids.begin(), built.ids.begin() + static_cast<std::ptrdiff_t>(built.count));
}

std::map<std::wstring, Ids> build(std::uint32_t mode, std::vector<std::wstring>* order = nullptr) {
    BuiltToolBars result;
    BuildToolBars(DefaultToolBarTable(), mode, result);
    std::map<std::wstring, Ids> bars;
    for (const BuiltToolBar& built : result.span()) {
        bars[built.record->caption] = idsOf(built);
        if (order)
            order->push_back(built.record->caption);
    }
    return bars;
}

TEST(DefaultToolBarTable, HoldsItsTwentyThreeBarsWithTheirEntryCounts) {
    const std::map<std::wstring, size_t> counts = {{L"Startup", 8},
                                                   {L"2D", 42},
                                                   {L"Sketch", 49},
                                                   {L"3D", 53},
                                                   {L"3D Assembly", 37},
                                                   {L"Workplane", 41},
                                                   {L"Workplane (Sketch)", 40},
                                                   {L"Edit", 31},
                                                   {L"Parameters", 38},
                                                   {L"Sheet Metal", 35},
                                                   {L"Table", 25},
                                                   {L"BOM", 42},
                                                   {L"BOMs", 16},
                                                   {L"Analysis", 35},
                                                   {L"Weld", 18},
                                                   {L"Geometry", 24},
                                                   {L"Database", 35},
                                                   {L"Photo View", 16},
                                                   {L"Explode animation", 19},
                                                   {L"Compatible", 41},
                                                   {L"Context", 3},
                                                   {L"FullScreen", 2},
                                                   {L"View", 41}};
    const auto table = DefaultToolBarTable();
    ASSERT_EQ(table.size(), 24u);
    EXPECT_STREQ(table.back().caption, kToolBarTableEnd);
    for (size_t i = 0; i + 1 < table.size(); ++i) {
        const auto it = counts.find(table[i].caption);
        ASSERT_NE(it, counts.end());
        EXPECT_EQ(entriesOf(table[i]).size(), it->second) << pal::text::toUtf8(table[i].caption);
        for (const ToolBarEntry& entry : entriesOf(table[i])) {
            if (entry.id != 0) {
                EXPECT_NE(FindCommandIdRange(entry.id), nullptr) << entry.id;
            }
        }
    }
    // Only the tabs have identities.
    EXPECT_TRUE(IsEqualGUID(*bar(L"View").guid, GUID_NULL));
    EXPECT_EQ(bar(L"View").kind, 4u);
    EXPECT_EQ(bar(L"Context").kind, 6u);
    EXPECT_EQ(bar(L"2D").guid->Data1, 0xD773CF70u);
}

TEST(DefaultToolBarTable, BarsStartWithTheirGroups) {
    const Ids documentGroup = {1065, 1064, 1072, 0, 1001, 1029, 1027, 0, 1115, 1117, 0};
    for (const wchar_t* caption : {L"2D", L"Sketch", L"3D", L"3D Assembly", L"Edit", L"Parameters",
                                   L"Sheet Metal", L"Analysis", L"Weld", L"Geometry", L"Explode animation"}) {
        Ids ids;
        for (const ToolBarEntry& entry : entriesOf(bar(caption)))
            ids.push_back(entry.id);
        ids.resize(documentGroup.size());
        EXPECT_EQ(ids, documentGroup) << pal::text::toUtf8(caption);
    }
    for (const wchar_t* caption : {L"Table", L"BOM", L"BOMs"}) {
        const auto entries = entriesOf(bar(caption));
        EXPECT_EQ((Ids{entries[0].id, entries[1].id, entries[2].id}), (Ids{1115, 1117, 0}));
    }
}

TEST(DefaultToolBarTable, EntriesCarryTheirOwnMasks) {
    auto maskOf = [](const wchar_t* caption, std::uint32_t id) {
        for (const ToolBarEntry& entry : entriesOf(bar(caption)))
            if (entry.id == id)
                return entry.mask;
        return 0u;
    };
    auto countWithMask = [](const wchar_t* caption, std::uint32_t mask) {
        size_t count = 0;
        for (const ToolBarEntry& entry : entriesOf(bar(caption)))
            count += entry.mask == mask ? 1 : 0;
        return count;
    };
    EXPECT_EQ(maskOf(L"Startup", 1064), 941u);
    for (const wchar_t* caption : {L"2D", L"Sketch", L"Edit", L"Parameters", L"Compatible"})
        EXPECT_EQ(maskOf(caption, 1064), 557u) << pal::text::toUtf8(caption);
    for (const wchar_t* caption : {L"3D", L"3D Assembly", L"Sheet Metal", L"Analysis", L"Weld", L"Geometry"})
        EXPECT_EQ(maskOf(caption, 1027), 575u) << pal::text::toUtf8(caption);
    EXPECT_EQ(maskOf(L"2D", 1222), 557u);
    EXPECT_EQ(maskOf(L"Parameters", 1583), 557u);
    EXPECT_EQ(maskOf(L"Explode animation", 1115), 575u);
    EXPECT_EQ(countWithMask(L"3D", 575), 4u); // 1027, 1162, 3146 and one separator
    EXPECT_EQ(countWithMask(L"Workplane", 941), 40u);
    EXPECT_EQ(maskOf(L"Workplane (Sketch)", 1175), 575u);
    EXPECT_EQ(countWithMask(L"View", 941), 11u);
    EXPECT_EQ(maskOf(L"View", 1589), 575u);
    EXPECT_EQ(countWithMask(L"Compatible", 8), 13u);
}

TEST(DefaultToolBars, ModeZeroBuildsNoBars) {
    EXPECT_TRUE(build(0).empty());
}

TEST(DefaultToolBars, The2DModeBuildsTheBarsOfItsMasksWithoutThe3DEntries) {
    std::vector<std::wstring> order;
    const auto bars = build(2, &order);
    EXPECT_EQ(order, (std::vector<std::wstring>{L"Startup", L"2D", L"Sketch", L"Edit", L"Parameters",
                                                L"Table", L"BOM", L"BOMs", L"Database", L"Compatible",
                                                L"Context", L"FullScreen", L"View"}));
    EXPECT_EQ(bars.at(L"Startup"), (Ids{1075, 0, 1065, 1072, 0, 1001, 0, 1203, 1111}));
    const Ids& twoD = bars.at(L"2D");
    EXPECT_EQ((Ids(twoD.begin(), twoD.begin() + 5)), (Ids{1075, 0, 1065, 1072, 0}));
    EXPECT_EQ(twoD.size(), 2u + 42u - 2u); // without 1064 and 1222
    EXPECT_EQ(bars.at(L"Context"), (Ids{1743, 1744, 1745}));
    EXPECT_EQ(bars.at(L"FullScreen"), (Ids{1254, 2814}));
    const Ids& view = bars.at(L"View");
    EXPECT_EQ(view.size(), 41u - 11u);
    EXPECT_EQ(view.front(), 1589u); // a kind-4 bar starts with its own first entry
    EXPECT_EQ(bars.at(L"Compatible").size(), 2u + 41u - 13u - 1u);
}

TEST(DefaultToolBars, The3DModeBuildsEveryBarWithEveryEntry) {
    const auto bars = build(8);
    ASSERT_EQ(bars.size(), 23u);
    for (const DefaultToolBarRecord& record : DefaultToolBarTable().first(23)) {
        const size_t prefix = record.kind == TabbedToolBarTab ? 2 : 0;
        EXPECT_EQ(bars.at(record.caption).size(), prefix + entriesOf(record).size())
            << pal::text::toUtf8(record.caption);
    }
    EXPECT_EQ(bars.at(L"3D").size(), 55u);
    EXPECT_EQ(bars.at(L"Startup"), (Ids{1075, 0, 1065, 1064, 1072, 0, 1001, 0, 1203, 1111}));
}

TEST(DefaultToolBars, TheGSModeLeavesOutThe3DBarsAndThe3DOnlyEntries) {
    std::vector<std::wstring> order;
    const auto bars = build(16, &order);
    EXPECT_EQ(order.size(), 13u);
    EXPECT_EQ(bars.count(L"3D"), 0u);
    EXPECT_EQ(bars.count(L"Workplane"), 0u);
    EXPECT_EQ(bars.at(L"Startup"), (Ids{1075, 0, 1065, 1072, 0, 1001, 0, 1203, 1111}));
    EXPECT_EQ(bars.at(L"View").size(), 30u);
    EXPECT_EQ(bars.at(L"Compatible").size(), 29u);
}

// Small tables of the test's own --------------------------------------------------------------

DefaultToolBarRecord record(const wchar_t* caption, std::uint32_t kind, std::uint32_t mask,
                            std::vector<ToolBarEntry> entries, std::uint32_t captionString = 0) {
    DefaultToolBarRecord r{};
    std::wcsncpy(r.caption, caption, 80);
    r.captionStringId = captionString;
    r.guid = &GUID_NULL;
    r.kind = kind;
    r.editionMask = mask;
    for (size_t i = 0; i < entries.size(); ++i)
        r.entries[i] = entries[i];
    if (entries.size() < kToolBarEntryCount)
        r.entries[entries.size()] = {kToolBarEntriesEnd, 0};
    r.build = BuildToolBarIds;
    return r;
}

DefaultToolBarRecord endRecord() {
    return record(kToolBarTableEnd, 0, 0, {});
}

TEST(DefaultToolBars, ABarWithoutIdsGivesItsElementToTheNextBar) {
    std::vector<DefaultToolBarRecord> table = {
        record(L"Empty", 1, 2, {{1001, 8}}),        record(L"Full", 4, 2, {{1001, 2}, {0, 2}, {1029, 2}}),
        record(L"Skipped", 0, 2, {{1001, 2}}),      record(L"Other edition", 4, 8, {{1001, 8}}),
        record(L"Last empty", 1, 2, {{1029, 8}}),   endRecord(),
        record(L"After the end", 4, 2, {{1001, 2}})};
    BuiltToolBars result;
    BuildToolBars(table, 2, result);
    ASSERT_EQ(result.count, 2u);
    EXPECT_STREQ(result.bars[0].record->caption, L"Full");
    EXPECT_EQ(idsOf(result.bars[0]), (Ids{1001, 0, 1029}));
    // The last bar taken keeps its empty element.
    EXPECT_STREQ(result.bars[1].record->caption, L"Last empty");
    EXPECT_EQ(result.bars[1].count, 0u);
}

TEST(DefaultToolBars, CaptionsComeFromTheStringsWhenTheyLoad) {
    std::vector<DefaultToolBarRecord> table = {record(L"Built in", 4, 2, {{1001, 2}}, kFixtureCaptionString),
                                               record(L"Kept", 4, 2, {{1001, 2}}, 64002), endRecord()};
    BuiltToolBars result;
    BuildToolBars(table, 2, result);
    EXPECT_STREQ(table[0].caption, L"Localised bar");
    EXPECT_STREQ(table[1].caption, L"Kept");
}

TEST(DefaultToolBars, AListHoldsSixtyIdsAndATabLeavesTwoOfThemToItsPrefix) {
    std::vector<ToolBarEntry> sixty(kToolBarEntryCount, ToolBarEntry{1001, 2});
    std::vector<DefaultToolBarRecord> full = {record(L"Full", 4, 2, sixty), endRecord()};
    BuiltToolBars result;
    BuildToolBars(full, 2, result);
    EXPECT_EQ(result.bars[0].count, 60u);

    std::vector<DefaultToolBarRecord> tab = {record(L"Tab", 1, 2, sixty), endRecord()};
    EXPECT_THROW(BuildToolBars(tab, 2, result), std::length_error);
    std::vector<ToolBarEntry> fiftyEight(58, ToolBarEntry{1001, 2});
    tab = {record(L"Tab", 1, 2, fiftyEight), endRecord()};
    BuildToolBars(tab, 2, result);
    EXPECT_EQ(result.bars[0].count, 60u);
}

TEST(DefaultToolBars, AreBuiltOnceAndKeptWhenTheModeChanges) {
    const auto bars = [](std::span<const BuiltToolBar> built) {
        std::vector<std::pair<std::wstring, Ids>> result;
        for (const BuiltToolBar& element : built)
            result.emplace_back(element.record->caption, idsOf(element));
        return result;
    };
    const auto first = bars(BuildDefaultToolBars());
    // Alder builds six bars where GS builds thirteen: switch to the one that a second build
    // would tell apart.
    const std::uint32_t other = build(128).size() == first.size() ? 16 : 128;
    ASSERT_NE(build(other).size(), first.size());
    const std::uint32_t saved = GetFixedEditionCode();
    SetFixedEditionCode(other);
    const auto second = bars(BuildDefaultToolBars());
    SetFixedEditionCode(saved);
    EXPECT_EQ(second, first);
}

// Golden tables ------------------------------------------------------------------------------

std::string joinIds(const Ids& ids) {
    std::string text;
    for (const std::uint32_t id : ids)
        text += (text.empty() ? "" : " ") + std::to_string(id);
    return text;
}

TEST(DefaultToolBarTable, TheHeadersAreTheirGoldenTableRowForRow) {
    const auto golden = readFixtureTable("default_toolbars.txt", '|');
    const auto table = DefaultToolBarTable();
    ASSERT_EQ(table.size(), golden.size() + 1);
    for (size_t i = 0; i < golden.size(); ++i) {
        const DefaultToolBarRecord& record = table[i];
        std::wstring guid = pal::com::guidToString(*record.guid);
        guid = guid.substr(1, guid.size() - 2);
        const FixtureRow actual = {pal::text::toUtf8(record.caption),
                                   std::to_string(record.captionStringId),
                                   pal::text::toUtf8(guid),
                                   std::to_string(record.barId),
                                   std::to_string(record.secondFlag),
                                   std::to_string(record.kind),
                                   std::to_string(record.editionMask),
                                   std::to_string(entriesOf(record).size())};
        EXPECT_EQ(joinFixtureRow(actual, '|'), joinFixtureRow(golden[i], '|')) << "row " << i + 1;
        EXPECT_EQ(record.build, &BuildToolBarIds) << "row " << i + 1;
    }
    EXPECT_STREQ(table.back().caption, kToolBarTableEnd);
}

// Birch (256) builds only the bars and entries of the masks that hold its bit;
// AlderAdministrator (512) is in every mask of the table.
TEST(DefaultToolBars, TheBuildsOfModes256And512AreTheirGoldenLists) {
    std::map<std::uint32_t, std::vector<std::string>> expected;
    for (const FixtureRow& row : readFixtureTable("default_toolbar_builds.txt", '|'))
        expected[static_cast<std::uint32_t>(std::stoul(row[0]))].push_back(row[1] + "|" + row[2]);
    ASSERT_EQ(expected.size(), 2u);
    for (const auto& [mode, bars] : expected) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        BuiltToolBars result;
        BuildToolBars(DefaultToolBarTable(), mode, result);
        std::vector<std::string> actual;
        for (const BuiltToolBar& built : result.span())
            actual.push_back(pal::text::toUtf8(built.record->caption) + "|" + joinIds(idsOf(built)));
        EXPECT_EQ(actual, bars);
    }
}

} // namespace
} // namespace dvapp::test
