// SHFileOperationW: the four operations over a table of cases, items kept when a target exists,
// deletions into the sandbox's trash, and the journal.
#include "win/system.h"

#include "pal/test/sandbox_test.h"

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using FileOperations = pal::test::SandboxTest;

// Two lists end with a double terminator: the std::wstring's own and the one added here.
std::wstring list(std::initializer_list<const wchar_t*> items) {
    std::wstring out;
    for (const wchar_t* item : items)
        out.append(item).push_back(L'\0');
    return out;
}

int run(UINT func, const std::wstring& from, const std::wstring& to, FILEOP_FLAGS flags,
        BOOL* aborted = nullptr) {
    SHFILEOPSTRUCTW op{};
    op.wFunc = func;
    op.pFrom = from.c_str();
    op.pTo = to.empty() ? nullptr : to.c_str();
    op.fFlags = flags;
    const int result = SHFileOperationW(&op);
    if (aborted)
        *aborted = op.fAnyOperationsAborted;
    return result;
}

TEST_F(FileOperations, CopyMoveRenameAndDelete) {
    struct Case {
        const char* name;
        UINT func;
        std::wstring from;
        std::wstring to;
        FILEOP_FLAGS flags;
        int result;
        std::vector<const char*> present;
        std::vector<const char*> absent;
    };
    const Case cases[] = {
        {"copy two into a folder",
         FO_COPY,
         list({L"C:\\a\\one.grb", L"C:\\a\\two.grb"}),
         list({L"C:\\b"}),
         FOF_ALLOWUNDO,
         0,
         {"drive_c/a/one.grb", "drive_c/a/two.grb", "drive_c/b/one.grb", "drive_c/b/two.grb"},
         {}},
        {"move two into a folder",
         FO_MOVE,
         list({L"C:\\a\\one.grb", L"C:\\a\\two.grb"}),
         list({L"C:\\b"}),
         FOF_ALLOWUNDO,
         0,
         {"drive_c/b/one.grb", "drive_c/b/two.grb"},
         {"drive_c/a/one.grb", "drive_c/a/two.grb"}},
        {"rename",
         FO_RENAME,
         list({L"C:\\a\\one.grb"}),
         list({L"C:\\a\\first.grb"}),
         FOF_ALLOWUNDO,
         0,
         {"drive_c/a/first.grb"},
         {"drive_c/a/one.grb"}},
        {"rename onto an existing name",
         FO_RENAME,
         list({L"C:\\a\\one.grb"}),
         list({L"C:\\a\\two.grb"}),
         FOF_ALLOWUNDO,
         static_cast<int>(ERROR_ALREADY_EXISTS),
         {"drive_c/a/one.grb", "drive_c/a/two.grb"},
         {}},
        {"rename into another folder",
         FO_RENAME,
         list({L"C:\\a\\one.grb"}),
         list({L"C:\\b\\one.grb"}),
         FOF_ALLOWUNDO,
         static_cast<int>(ERROR_INVALID_NAME),
         {"drive_c/a/one.grb"},
         {"drive_c/b/one.grb"}},
        {"move onto an existing file is refused",
         FO_MOVE,
         list({L"C:\\a\\one.grb"}),
         list({L"C:\\c"}),
         FOF_ALLOWUNDO,
         static_cast<int>(ERROR_ALREADY_EXISTS),
         {"drive_c/a/one.grb", "drive_c/c/one.grb"},
         {}},
        {"copy replaces without asking when told",
         FO_COPY,
         list({L"C:\\a\\one.grb"}),
         list({L"C:\\c"}),
         FOF_NOCONFIRMATION,
         0,
         {"drive_c/a/one.grb", "drive_c/c/one.grb"},
         {}},
        {"missing source",
         FO_COPY,
         list({L"C:\\a\\none.grb"}),
         list({L"C:\\b"}),
         0,
         static_cast<int>(ERROR_FILE_NOT_FOUND),
         {},
         {"drive_c/b/none.grb"}},
        {"delete for good",
         FO_DELETE,
         list({L"C:\\a\\one.grb"}),
         L"",
         0,
         0,
         {},
         {"drive_c/a/one.grb", "Trash/one.grb"}},
        {"delete into the trash",
         FO_DELETE,
         list({L"C:\\a\\one.grb", L"C:\\c"}),
         L"",
         FOF_ALLOWUNDO,
         0,
         {"Trash/one.grb", "Trash/c/one.grb"},
         {"drive_c/a/one.grb", "drive_c/c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(root() / "drive_c");
        fs::remove_all(root() / "Trash");
        writeFile("drive_c/a/one.grb", "one");
        writeFile("drive_c/a/two.grb", "two");
        writeFile("drive_c/c/one.grb", "old");
        fs::create_directories(root() / "drive_c/b");
        BOOL aborted = FALSE;
        EXPECT_EQ(run(c.func, c.from, c.to, c.flags, &aborted), c.result);
        EXPECT_EQ(aborted != FALSE, c.result != 0);
        for (const char* p : c.present)
            EXPECT_TRUE(fs::exists(root() / p)) << p;
        for (const char* p : c.absent)
            EXPECT_FALSE(fs::exists(root() / p)) << p;
    }
}

TEST_F(FileOperations, TrashKeepsEveryDeletedItem) {
    for (int i = 0; i < 2; ++i) {
        writeFile("drive_c/a/one.grb", std::to_string(i));
        EXPECT_EQ(run(FO_DELETE, list({L"C:\\a\\one.grb"}), L"", FOF_ALLOWUNDO), 0);
    }
    EXPECT_EQ(pal::test::readFile(root() / "Trash/one.grb"), "0");
    EXPECT_EQ(pal::test::readFile(root() / "Trash/one (2).grb"), "1");
}

TEST_F(FileOperations, EachCallIsJournaled) {
    writeFile("drive_c/a/one.grb", "one");
    run(FO_RENAME, list({L"C:\\a\\one.grb"}), list({L"C:\\a\\first.grb"}), FOF_ALLOWUNDO);
    const auto entries = journal("SHFileOperation");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].get("operation"), "4");
    EXPECT_EQ(entries[0].get("from"), "C:\\a\\one.grb");
    EXPECT_EQ(entries[0].get("to"), "C:\\a\\first.grb");
    SHFILEOPSTRUCTW empty{};
    empty.wFunc = FO_COPY;
    EXPECT_EQ(SHFileOperationW(&empty), static_cast<int>(ERROR_INVALID_PARAMETER));
}

} // namespace
