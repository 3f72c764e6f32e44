// What a command's card says: the kernel's texts, the description files of "CommandInfo" (with
// their bad forms), the keyboard call, and the kept records.
#include "ribbon/CommandDescriptions.h"

#include "DVDiagnostics/test/hooks.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"
#include "xtp/CommandBars.h"
#include "xtp/ShortcutManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

class CommandDescriptionsTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        ASSERT_TRUE(Dravik::I18n::LoadLanguage(L"Eng"));
    }
    void TearDown() override {
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }

    // A command of the test's own, named and described by the kernel. Records are kept for the
    // process, so each test uses ids of its own.
    static void command(UINT id, const std::wstring& name, const std::wstring& title = L"Test title",
                        const std::wstring& tip = L"Kernel description") {
        DVCommandContainer::Instance().RegisterCommand(id, name, DVCommandFlags());
        UIModuleProxy::CommandStrings strings;
        strings.Caption = strings.Title = title;
        strings.Name = name;
        strings.Description = strings.ToolTip = tip;
        UIModuleProxy::Instance().SetCommandStrings(id, strings);
    }
};

TEST_F(CommandDescriptionsTest, DescriptionFileTextSplitsAtTheFirstThreeHyphens) {
    struct Case {
        const wchar_t* text;
        std::optional<std::pair<std::wstring, std::wstring>> parts;
    };
    const Case cases[] = {
        {L"", std::nullopt},
        {L" \t\r\n ", std::nullopt},
        {L"  Just this.  ", std::make_pair(L"Just this.", L"")},
        {L"--", std::make_pair(L"--", L"")},
        {L"Two\nlines\n---\nThird line\n", std::make_pair(L"Two\nlines", L"Third line")},
        {L"Short---Long", std::make_pair(L"Short", L"Long")},
        {L"Short --- rest of line\n  Long", std::make_pair(L"Short", L"Long")},
        {L"---\nOnly long", std::make_pair(L"", L"Only long")},
        {L"A\n---\nB\n---\nC", std::make_pair(L"A", L"B\n---\nC")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(pal::text::toUtf8(c.text));
        const auto parsed = ParseCommandDescription(c.text);
        ASSERT_EQ(parsed.has_value(), c.parts.has_value());
        if (parsed) {
            EXPECT_EQ(parsed->description, c.parts->first);
            EXPECT_EQ(parsed->extendedDescription, c.parts->second);
        }
    }
}

TEST_F(CommandDescriptionsTest, ANameThatWouldLeaveTheFolderNamesNoFile) {
    struct Case {
        UINT id;
        const wchar_t* name;
        std::optional<std::wstring> file;
    };
    const Case cases[] = {
        {1640, L"DrawLine", L"DrawLine"}, {1999, L"", L"1999"},
        {15001, L"", std::nullopt},       {15001, L"Addon.Tool", L"Addon.Tool"},
        {15002, L"..\\x", std::nullopt},  {15002, L"../x", std::nullopt},
        {15002, L"sub/x", std::nullopt},  {15002, L"C:x", std::nullopt},
        {15002, L"a..b", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CommandDescriptionFileName(c.id, c.name), c.file) << pal::text::toUtf8(c.name);
}

TEST_F(CommandDescriptionsTest, RecordsTakeTheKernelsTextsThenTheDescriptionFile) {
    struct Case {
        UINT id;
        const wchar_t* name;
        const wchar_t* description;
        const wchar_t* extended;
        bool picture;
    };
    const Case cases[] = {
        // Two lines, "---", a third: the third line and the picture come after the delay.
        {5001, L"CardTest.TwoParts", L"Draws a test line\nthrough two points.",
         L"The third line comes after a while.", true},
        // White space, nothing, binary bytes and a text that is not UTF-8 leave or replace the
        // kernel's texts without harm.
        {5002, L"CardTest.Blank", L"Kernel description", L"", false},
        {5003, L"CardTest.Empty", L"Kernel description", L"", false},
        {5004, L"CardTest.Latin1", L"Caf\uFFFD cr\uFFFDme", L"", false},
        {5005, L"CardTest.Missing", L"Kernel description", L"", false},
        // The file beside the folder is not read through a name that climbs out of it.
        {15003, L"..\\outside_description", L"Kernel description", L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(pal::text::toUtf8(c.name));
        command(c.id, c.name);
        const CommandDescriptionRecord* record = ReadCommandDescription(c.id, nullptr, 0xF2F2F2);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->name, c.name);
        EXPECT_EQ(record->title, L"Test title");
        EXPECT_EQ(record->description, c.description);
        EXPECT_EQ(record->extendedDescription, c.extended);
        EXPECT_EQ(!record->picture.IsEmpty(), c.picture);
        // Kept: the second read gives the same record.
        EXPECT_EQ(ReadCommandDescription(c.id, nullptr, 0xF2F2F2), record);
    }
    command(5006, L"CardTest.Binary");
    const CommandDescriptionRecord* binary = ReadCommandDescription(5006, nullptr, 0xF2F2F2);
    ASSERT_NE(binary, nullptr);
    EXPECT_NE(binary->description.find(L"binary"), std::wstring::npos);
}

TEST_F(CommandDescriptionsTest, AFileTooLargeToReadIsLoggedAndTheKernelsTextsStay) {
    const std::wstring name = L"CardTest.Huge" + std::to_wstring(::getpid());
    const auto path = binDir() / "CommandInfo" / (pal::text::toUtf8(name) + ".txt");
    {
        std::ofstream out(path, std::ios::binary);
        out << std::string(10 << 20, 'a');
    }
    command(5010, name);
    const CommandDescriptionRecord* record = ReadCommandDescription(5010, nullptr, 0xF2F2F2);
    std::filesystem::remove(path);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->description, L"Kernel description");
    bool logged = false;
    for (const std::string& line : dvlog::test::capturedAt(6))
        logged = logged || line.find("Failed to read command description from") != std::string::npos;
    EXPECT_TRUE(logged);
}

TEST_F(CommandDescriptionsTest, CommandsWithoutLookupHaveNoRecordUntilTheKernelSuppliesOne) {
    for (UINT id : {20000u, 1116u, 500u, 6500u, 61456u, 65010u})
        EXPECT_EQ(ReadCommandDescription(id, nullptr, 0xF2F2F2), nullptr) << id;
    CommandDescriptionRecord supplied;
    supplied.title = L"Application command";
    supplied.description = L"Supplied by the kernel";
    EXPECT_TRUE(CacheCommandDescription(20001, supplied));
    EXPECT_TRUE(CacheCommandDescription(20001, supplied)) << "the same record again";
    CommandDescriptionRecord other = supplied;
    other.keyboardCall = L"Ctrl+Q";
    EXPECT_FALSE(CacheCommandDescription(20001, other));
    const CommandDescriptionRecord* kept = ReadCommandDescription(20001, nullptr, 0xF2F2F2);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(*kept, supplied);
    EXPECT_FALSE(ShowsHelpHint(20001));
    EXPECT_FALSE(ShowsHelpHint(57670));
    EXPECT_TRUE(ShowsHelpHint(1640));
}

TEST_F(CommandDescriptionsTest, TheKeyboardCodeComesFirstThenTheShortcuts) {
    CXTPCommandBars bars;
    bars.GetShortcutManager()->AddShortcut(CXTPShortcutManagerAccel(5020, FVIRTKEY | FCONTROL, 'L'));
    const CString accel =
        bars.GetShortcutManager()->Format(&bars.GetShortcutManager()->FindShortcuts(5020)[0]);
    EXPECT_EQ(CommandKeyboardCall(5020, L"LN", L"", &bars), L"LN; " + std::wstring(accel.GetString()));
    EXPECT_EQ(CommandKeyboardCall(5020, L"", accel.GetString(), &bars), std::wstring(accel.GetString()))
        << "a repeated text shows once";
    EXPECT_EQ(CommandKeyboardCall(5020, L"", L"", nullptr), L"");

    // A caption "code: text" gives the keyboard code; refreshing follows new shortcuts.
    command(5021, L"CardTest.Keyed", L"Keyed", L"KY: Keyed command");
    const CommandDescriptionRecord* record = ReadCommandDescription(5021, &bars, 0xF2F2F2);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->description, L"Keyed command");
    EXPECT_EQ(record->keyboardCall, L"KY");
    bars.GetShortcutManager()->AddShortcut(CXTPShortcutManagerAccel(5021, FVIRTKEY | FCONTROL, 'K'));
    RefreshCommandToolTips(&bars);
    EXPECT_EQ(record->keyboardCall.rfind(L"KY; ", 0), 0u) << pal::text::toUtf8(record->keyboardCall);
}

} // namespace
