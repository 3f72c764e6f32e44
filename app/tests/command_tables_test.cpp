// The command-id ranges, the named application-command table and its registration for an
// edition, and the kernel identifier table with its look-ups.
#include "app/CommandHandlers.h"
#include "app/CommandIdRanges.h"
#include "app/KernelCommandIdentifiers.h"
#include "app/NamedCommandTable.h"
#include "app/SystemCommands.h"

#include "DVDiagnostics/test/hooks.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/test/hooks.h"
#include "DravikUI/GlobalContextMenuContainer.h"
#include "DravikUI/test/hooks.h"
#include "pal/text.h"

#include "fixture_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <set>
#include <string>

namespace dvapp::test {
namespace {

using Registry = std::map<int, dvkernel::test::RegisteredCmd>;

class CommandTables : public ::testing::Test {
protected:
    void SetUp() override {
        dvkernel::test::reset();
        dvui::test::resetContextMenus();
        dvtrace::test::clear();
    }
    void TearDown() override {
        dvkernel::test::reset();
        dvui::test::resetContextMenus();
    }
    static DVCommandContainer& container() { return DVCommandContainer::Instance(); }
};

// Ranges -------------------------------------------------------------------------------------

TEST_F(CommandTables, EveryIdLiesInAtMostOneRangeAndTheRangesAscend) {
    std::vector<int> hits(0x10000, 0);
    for (const CommandIdRange& range : CommandIdRanges()) {
        ASSERT_LE(range.first, range.last);
        ASSERT_LE(range.last, 0xFFFFu);
        for (std::uint32_t id = range.first; id <= range.last; ++id)
            ++hits[id];
    }
    for (std::uint32_t id = 0; id < hits.size(); ++id)
        ASSERT_LE(hits[id], 1) << "id " << id << " lies in overlapping ranges";
    const auto ranges = CommandIdRanges();
    EXPECT_TRUE(
        std::is_sorted(ranges.begin(), ranges.end(),
                       [](const CommandIdRange& a, const CommandIdRange& b) { return a.first < b.first; }));
}

TEST_F(CommandTables, EveryIdOfTheTablesHasItsRange) {
    std::set<std::uint32_t> ids;
    for (const NamedCommandRecord& row : NamedCommandTable())
        ids.insert(static_cast<std::uint32_t>(row.registrationId));
    for (const KernelIdentifierRecord& row : KernelIdentifierTable())
        ids.insert(row.id);
    for (const CommandIdBlock& block : kCommandIdBlocks)
        for (std::uint32_t id = block.first; id <= block.last; ++id)
            ids.insert(id);
    ids.insert(2104); // StereoMode
    for (const std::uint32_t id : ids)
        EXPECT_NE(FindCommandIdRange(id), nullptr) << "id " << id << " has no range";
}

TEST_F(CommandTables, RangesAnswerTheUseOfAnId) {
    using enum CommandIdUse;
    const struct {
        std::uint32_t id;
        std::optional<CommandIdUse> use;
    } cases[] = {
        {0, std::nullopt},           {699, std::nullopt},         {700, RegisteredBlock},
        {749, RegisteredBlock},      {750, std::nullopt},         {781, PaneCommand},
        {800, InterfaceToggle},      {807, InterfaceToggle},      {826, PaneCommand},
        {903, DockingPanesLock},     {904, SystemPanelControl},   {912, std::nullopt},
        {999, SystemPanelControl},   {1001, NamedCommand},        {1189, NamedCommand},
        {1190, ApplyProfile},        {1199, ApplyProfile},        {1200, NamedCommand},
        {3182, NamedCommand},        {3183, std::nullopt},        {6001, AutoMenuButton},
        {7000, ToolBarTab},          {7199, ToolBarTab},          {15000, AddOnCommand},
        {17000, ApplicationCommand}, {32000, ApplicationCommand}, {32001, std::nullopt},
        {35003, SpecialCustomise},   {37999, UserCommand},        {57600, StandardCommand},
        {57665, StandardCommand},    {57666, std::nullopt},       {65049, RegisteredBlock},
        {65050, std::nullopt},       {65254, GeometryReference},  {65535, std::nullopt},
        {70000, std::nullopt},
    };
    for (const auto& c : cases) {
        const CommandIdRange* range = FindCommandIdRange(c.id);
        if (!c.use) {
            EXPECT_EQ(range, nullptr) << c.id;
        } else {
            ASSERT_NE(range, nullptr) << c.id;
            EXPECT_EQ(range->use, *c.use) << c.id;
        }
    }
}

// Named table --------------------------------------------------------------------------------

TEST_F(CommandTables, TheNamedTableIsConsistent) {
    const auto table = NamedCommandTable();
    ASSERT_EQ(table.size(), 101u);
    size_t documents = 0, systems = 0, bares = 0;
    std::set<std::int32_t> ids;
    for (const NamedCommandRecord& row : table) {
        EXPECT_EQ(row.commandId, static_cast<std::uint32_t>(row.registrationId));
        EXPECT_EQ(row.nameLength, row.name ? std::wcslen(row.name) : 0u);
        EXPECT_FALSE(row.documentRun && row.systemRun) << row.registrationId;
        EXPECT_TRUE(ids.insert(row.registrationId).second) << "repeated id " << row.registrationId;
        documents += row.documentRun ? 1 : 0;
        systems += row.systemRun ? 1 : 0;
        bares += !row.documentRun && !row.systemRun ? 1 : 0;
        // An update function is of the kind of its row.
        if (row.update.document) {
            EXPECT_NE(row.documentRun, nullptr) << row.registrationId;
        }
        if (row.update.system) {
            EXPECT_NE(row.systemRun, nullptr) << row.registrationId;
        }
    }
    EXPECT_EQ(documents, 14u);
    EXPECT_EQ(systems, 53u);
    EXPECT_EQ(bares, 34u);
}

TEST_F(CommandTables, NamesAreUniqueWithoutCaseAcrossBothTables) {
    std::map<std::wstring, std::uint32_t> seen;
    auto add = [&](std::wstring_view name, std::uint32_t id) {
        if (name.empty())
            return;
        const auto [it, inserted] = seen.emplace(pal::text::toUpper(name), id);
        EXPECT_TRUE(inserted || it->second == id)
            << pal::text::toUtf8(name) << " names " << it->second << " and " << id;
    };
    for (const NamedCommandRecord& row : NamedCommandTable())
        add(row.name ? std::wstring_view(row.name, row.nameLength) : std::wstring_view(),
            static_cast<std::uint32_t>(row.registrationId));
    for (const KernelIdentifierRecord& row : KernelIdentifierTable())
        add(row.name, row.id);
}

struct EditionCase {
    std::uint32_t mask;
    size_t documents, systems, bares;
    std::vector<int> absent;
};

void PrintTo(const EditionCase& c, std::ostream* os) {
    *os << "mask " << c.mask << ": " << c.documents << " document, " << c.systems << " system and " << c.bares
        << " bare commands";
}

class NamedRegistration : public CommandTables, public ::testing::WithParamInterface<EditionCase> {};

// The ids of the rows whose mask shares a bit with the edition mask, plus the three blocks.
std::set<int> expectedIds(std::uint32_t mask) {
    std::set<int> ids;
    for (const NamedCommandRecord& row : NamedCommandTable())
        if (row.editionMask & mask)
            ids.insert(row.registrationId);
    for (const CommandIdBlock& block : kCommandIdBlocks)
        for (std::uint32_t id = block.first; id <= block.last; ++id)
            ids.insert(static_cast<int>(id));
    return ids;
}

TEST_P(NamedRegistration, RegistersTheEditionsRowsAndTheThreeBlocks) {
    const EditionCase& edition = GetParam();
    RegisterSystemCommands(edition.mask);
    const Registry registry = dvkernel::test::registeredCommands();

    std::set<int> ids;
    size_t documents = 0, systems = 0, bares = 0;
    for (const auto& [id, entry] : registry) {
        ids.insert(id);
        const bool inBlock =
            std::any_of(std::begin(kCommandIdBlocks), std::end(kCommandIdBlocks),
                        [&](const CommandIdBlock& b) { return id >= int(b.first) && id <= int(b.last); });
        if (inBlock)
            continue;
        documents += entry.hasCommand && !entry.systemCommand ? 1 : 0;
        systems += entry.hasCommand && entry.systemCommand ? 1 : 0;
        bares += entry.hasCommand ? 0 : 1;
    }
    EXPECT_EQ(ids, expectedIds(edition.mask));
    EXPECT_EQ(documents, edition.documents);
    EXPECT_EQ(systems, edition.systems);
    EXPECT_EQ(bares, edition.bares);
    EXPECT_EQ(registry.size(), edition.documents + edition.systems + edition.bares + 50 + 49 + 50);
    for (const int id : edition.absent)
        EXPECT_EQ(registry.count(id), 0u) << id;

    // A few rows of each kind, with their names and flags.
    EXPECT_EQ(registry.at(1019).name, L"Quit");
    EXPECT_EQ(registry.at(1019).flags, 16u);
    EXPECT_TRUE(registry.at(1019).systemCommand);
    EXPECT_EQ(registry.at(57665).name, L"");
    EXPECT_EQ(registry.at(1029).name, L"DocumentSave");
    EXPECT_FALSE(registry.at(1029).systemCommand);
    EXPECT_EQ(registry.at(1133).flags, 32u);
    EXPECT_EQ(registry.at(1708).flags, 71u);
    EXPECT_EQ(registry.at(1254).name, L"WindowFullScreen");
    EXPECT_FALSE(registry.at(1254).hasCommand);
    EXPECT_EQ(registry.at(1110).name, L"");
    EXPECT_TRUE(DVCommandFlags(registry.at(825).flags).has(DVCommandFlag::Pdm));
    EXPECT_EQ(registry.at(807).name, L"ToggleMainToolBar");
    EXPECT_EQ(registry.at(1199).name, L"ApplyProfile10");
    EXPECT_EQ(registry.at(700).flags, 8u);
    EXPECT_EQ(registry.at(749).flags, 8u);
    EXPECT_EQ(registry.at(3401).flags, 24u);
    EXPECT_EQ(registry.at(65049).flags, 24u);
    EXPECT_EQ(registry.count(750), 0u);
    EXPECT_EQ(registry.count(3450), 0u);
}

INSTANTIATE_TEST_SUITE_P(Editions, NamedRegistration,
                         ::testing::Values(
                             // 2D and GS have neither the 3D documents nor the 3D-only rows.
                             EditionCase{2, 14, 51, 34, {1064, 1120}}, EditionCase{8, 14, 53, 34, {}},
                             EditionCase{16, 14, 51, 34, {1064, 1120}},
                             // Alder is not one of the generic editions.
                             EditionCase{128, 13, 52, 34, {9131, 1763}}, EditionCase{575, 14, 53, 34, {}}),
                         [](const auto& info) { return "Mask" + std::to_string(info.param.mask); });

TEST_F(CommandTables, AMaskSharingNoBitLeavesRowsUnregisteredButTheBlocks) {
    RegisterSystemCommands(64); // the optional-module bit, in no row's mask
    const Registry registry = dvkernel::test::registeredCommands();
    EXPECT_EQ(registry.size(), 50u + 49u + 50u);
    EXPECT_EQ(registry.count(1064), 0u);
    EXPECT_TRUE(registry.count(700) && registry.count(3449) && registry.count(65000));

    // 1 is in 941 but 2 and 16 are not.
    dvkernel::test::reset();
    RegisterSystemCommands(2 | 16);
    EXPECT_FALSE(container().IsRegistered(1064));
    dvkernel::test::reset();
    RegisterSystemCommands(1);
    EXPECT_TRUE(container().IsRegistered(1064));
}

template <class Command> auto runFunctionOf(unsigned id) {
    const auto* command = dynamic_cast<const Command*>(DVCommandContainer::Instance().GetCommand(id));
    return command ? command->GetRunFunction() : nullptr;
}

TEST_F(CommandTables, TheStandardIdsReachTheSameRunFunctionsAsTheirNamedCommands) {
    RegisterSystemCommands(959);
    const std::pair<unsigned, unsigned> twins[] = {{1019, 57665}, {1065, 57600}, {1001, 57601}};
    for (const auto& [named, standard] : twins) {
        const auto run = runFunctionOf<DVSystemCommand>(named);
        ASSERT_NE(run, nullptr) << named;
        EXPECT_EQ(runFunctionOf<DVSystemCommand>(standard), run) << standard;
    }
    // Without the application's document manager, open is not handled by either id.
    EXPECT_EQ(container().RunCommand(57601, nullptr, 0), 0);
    EXPECT_EQ(container().RunCommand(1001, nullptr, 0), 0);
    EXPECT_EQ(container().RunCommand(2085, nullptr, 0), 1);
    // The save-as-revision row carries the documents browser's functions.
    const auto* revision = dynamic_cast<const DVDocumentCommand*>(container().GetCommand(1133));
    ASSERT_NE(revision, nullptr);
    EXPECT_NE(revision->GetUpdateFunction(), nullptr);
}

// Kernel identifiers ---------------------------------------------------------------------

TEST_F(CommandTables, TheIdentifierTableHasItsRowsByFlags) {
    const auto table = KernelIdentifierTable();
    ASSERT_EQ(table.size(), 316u);
    std::map<std::uint32_t, size_t> byFlags;
    size_t unnamed = 0;
    for (const KernelIdentifierRecord& row : table) {
        ++byFlags[row.flags];
        unnamed += row.name.empty() ? 1 : 0;
        EXPECT_TRUE(std::wstring_view(row.identifier).starts_with(L"CM") ||
                    std::wstring_view(row.identifier).starts_with(L"ID_"))
            << row.id;
    }
    EXPECT_EQ(unnamed, 33u);
    EXPECT_EQ(byFlags, (std::map<std::uint32_t, size_t>{{0, 73},
                                                        {1, 174},
                                                        {5, 2},
                                                        {8, 7},
                                                        {15, 30},
                                                        {16, 11},
                                                        {24, 1},
                                                        {32, 1},
                                                        {33, 1},
                                                        {64, 1},
                                                        {65, 15}}));
}

TEST_F(CommandTables, IdentifiersRegisterWithBothRegistriesAndTheContextMenus) {
    RegisterApplicationCommands();
    const Registry registry = dvkernel::test::registeredCommands();
    EXPECT_EQ(registry.size(), 315u + 1u); // 2818 twice; StereoMode
    EXPECT_EQ(registry.at(2104).name, L"StereoMode");
    EXPECT_EQ(registry.at(1338).name, L"");
    EXPECT_EQ(registry.at(8030).flags, 5u);

    const auto calls = dvtrace::test::callsOf("DravikKernel");
    const auto called = [&](const std::string& call) { return std::count(calls.begin(), calls.end(), call); };
    EXPECT_EQ(called("RegisterCommand(8390,SecondaryModelRepresentationUpdate,1)"), 1);
    EXPECT_EQ(called("RegisterCommand(65254,ReferToNoGeometry,8)"), 1);
    EXPECT_EQ(called("RegisterCmd(1470,MovetoModel,1470,0)"), 1);
    EXPECT_EQ(called("RegisterCmd(2818,LawsCreateFromFile,2818,1)"), 2);
    EXPECT_EQ(calls.back(), "RegisterCmd(2104,StereoMode,2104,0)");

    using Dravik::UI::GlobalContextMenuContainer;
    EXPECT_TRUE(GlobalContextMenuContainer::IsRegistrationComplete());
    EXPECT_EQ(GlobalContextMenuContainer::FindCommandId(L"CM_3D_DUMMY"), 1338);
    EXPECT_EQ(GlobalContextMenuContainer::FindCommandId(L"ID_APP_ABOUT"), 57664);
}

TEST_F(CommandTables, LookUpsByIdAndByNameGoBothWays) {
    RegisterSystemCommands(959);
    RegisterApplicationCommands();

    // Id to identifier.
    EXPECT_STREQ(GetCommandName(2818), L"CM_LAWS_CREATE_FROM_FILE");
    EXPECT_STREQ(GetCommandName(1338), L"CM_3D_DUMMY"); // no registered name, but an identifier
    EXPECT_STREQ(GetCommandName(65254), L"CM_3D_EDIT_IN_PLACE_GEOMETRIC_REFERENCE_SOURCE_UNDEFINED");
    EXPECT_EQ(GetCommandName(0), nullptr);
    EXPECT_EQ(GetCommandName(65536), nullptr);
    EXPECT_EQ(GetCommandName(1019), nullptr); // a named command of the shell, not an identifier
    EXPECT_EQ(GetCommandName(2104), nullptr);

    // Id to name and name to id, through the kernel's registry.
    const struct {
        std::wstring_view name;
        unsigned id;
    } pairs[] = {{L"Quit", 1019},         {L"DocumentSaveAsRevision", 1133}, {L"ToggleDockingPanesLock", 903},
                 {L"MovetoModel", 1470},  {L"ReferToNoGeometry", 65254},     {L"StereoMode", 2104},
                 {L"HelpContents", 57670}};
    for (const auto& pair : pairs) {
        EXPECT_EQ(container().GetCommandId(pair.name), pair.id) << pal::text::toUtf8(pair.name);
        EXPECT_EQ(container().GetCommandName(pair.id), std::wstring(pair.name));
    }
    EXPECT_EQ(container().GetCommandId(L"quit"), 1019u);
    EXPECT_EQ(container().GetCommandId(L"DOCUMENTSAVEASREVISION"), 1133u);
    EXPECT_EQ(container().GetCommandId(L"NoSuchCommand"), std::nullopt);
    EXPECT_EQ(container().GetCommandId(L"Qui"), std::nullopt);
    EXPECT_EQ(container().GetCommandId(L""), std::nullopt);
    EXPECT_EQ(container().GetCommandName(57665), L""); // registered without a name
    EXPECT_EQ(container().GetCommandName(912), std::nullopt);
}

// Golden tables ------------------------------------------------------------------------------

// A row of the named table in the form of its golden table: kind, name ("-" when none), id,
// flags, "update" or "-", edition mask.
std::string describe(const NamedCommandRecord& row) {
    const char* kind = row.documentRun ? "document" : row.systemRun ? "system" : "bare";
    const std::string name = row.name ? pal::text::toUtf8(std::wstring_view(row.name, row.nameLength)) : "-";
    const bool update = row.update.document != nullptr || row.update.system != nullptr;
    return std::string(kind) + " " + name + " " + std::to_string(row.registrationId) + " " +
           std::to_string(row.flags) + " " + (update ? "update" : "-") + " " +
           std::to_string(row.editionMask);
}

TEST_F(CommandTables, TheNamedTableIsItsGoldenTableRowForRow) {
    const auto golden = readFixtureTable("named_commands.txt");
    const auto table = NamedCommandTable();
    ASSERT_EQ(table.size(), golden.size());
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(describe(table[i]), joinFixtureRow(golden[i])) << "row " << i + 1;
        EXPECT_EQ(table[i].commandId, static_cast<std::uint32_t>(table[i].registrationId)) << "row " << i + 1;
    }
}

TEST_F(CommandTables, RegistrationFollowsTheGoldenTableInOrder) {
    const auto golden = readFixtureTable("named_commands.txt");
    RegisterSystemCommands(kEveryEdition);
    std::vector<std::string> expected;
    for (const FixtureRow& row : golden) {
        const std::string& kind = row[0];
        const std::string name = row[1] == "-" ? "" : row[1];
        const std::string& id = row[2];
        expected.push_back(kind == "bare" ? "RegisterCmd(" + id + "," + name + "," + id + "," + row[3] + ")"
                                          : "RegisterCommand(" + kind + "," + id + ")");
    }
    for (const CommandIdBlock& block : kCommandIdBlocks)
        expected.push_back("RegisterCommands(" + std::to_string(block.first) + "," +
                           std::to_string(block.last) + "," + std::to_string(block.flags) + ")");
    EXPECT_EQ(dvtrace::test::callsOf("DravikKernel"), expected);

    // What the kernel keeps of each row: its name and flags, whatever the kind of registration.
    const Registry registry = dvkernel::test::registeredCommands();
    for (const FixtureRow& row : golden) {
        SCOPED_TRACE(joinFixtureRow(row));
        const auto it = registry.find(std::stoi(row[2]));
        ASSERT_NE(it, registry.end());
        EXPECT_EQ(pal::text::toUtf8(it->second.name), row[1] == "-" ? "" : row[1]);
        EXPECT_EQ(it->second.flags, std::stoul(row[3]));
        EXPECT_EQ(it->second.hasCommand, row[0] != "bare");
        EXPECT_EQ(it->second.systemCommand, row[0] == "system");
    }
}

TEST_F(CommandTables, TheIdentifierTableIsItsGoldenTableRowForRow) {
    const auto golden = readFixtureTable("kernel_identifiers.txt");
    const auto table = KernelIdentifierTable();
    ASSERT_EQ(table.size(), golden.size());
    for (size_t i = 0; i < table.size(); ++i) {
        const KernelIdentifierRecord& row = table[i];
        const std::string actual = std::to_string(row.id) + " " +
                                   (row.name.empty() ? std::string("-") : pal::text::toUtf8(row.name)) + " " +
                                   std::to_string(row.flags) + " " + pal::text::toUtf8(row.identifier);
        EXPECT_EQ(actual, joinFixtureRow(golden[i])) << "row " << i + 1;
    }
}

} // namespace
} // namespace dvapp::test
