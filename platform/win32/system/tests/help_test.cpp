// HtmlHelpW: journaled, the file (without its "::/topic" part) must exist, and nothing opens
// under the test fixture.
#include "win/system.h"

#include "pal/test/sandbox_test.h"

namespace {

namespace fs = std::filesystem;
using Help = pal::test::SandboxTest;

TEST_F(Help, RequestsAreJournaledAndTellWhetherTheFileWasFound) {
    writeFile("drive_c/help/Dravik.chm", "help");
    fs::create_directories(root() / "drive_c/help/folder.chm");
    struct Case {
        const wchar_t* file;
        UINT command;
        DWORD_PTR data;
        DWORD error;
    };
    const Case cases[] = {
        {L"C:\\help\\Dravik.chm", HH_HELP_CONTEXT, 500, 0},
        {L"C:\\help\\Dravik.chm::/start.htm", HH_DISPLAY_TOPIC, 0, 0},
        {L"C:\\help\\Dravik.chm", HH_DISPLAY_TOC, 0, 0},
        {L"C:\\help\\none.chm", HH_HELP_CONTEXT, 7, ERROR_FILE_NOT_FOUND},
        {L"C:\\help\\folder.chm", HH_HELP_CONTEXT, 7, ERROR_FILE_NOT_FOUND},
        {L"", HH_DISPLAY_TOC, 0, ERROR_FILE_NOT_FOUND},
        {nullptr, HH_DISPLAY_TOC, 0, ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SetLastError(12345);
        EXPECT_EQ(HtmlHelpW(nullptr, c.file, c.command, c.data), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
    const auto entries = journal("HtmlHelp");
    ASSERT_EQ(entries.size(), std::size(cases)) << "every request is journaled, found or not";
    EXPECT_EQ(entries[0].get("file"), "C:\\help\\Dravik.chm");
    EXPECT_EQ(entries[0].get("command"), "15");
    EXPECT_EQ(entries[0].get("data"), "500");
    EXPECT_EQ(entries[1].get("file"), "C:\\help\\Dravik.chm::/start.htm");
    EXPECT_EQ(entries[1].get("command"), "0");
}

} // namespace
