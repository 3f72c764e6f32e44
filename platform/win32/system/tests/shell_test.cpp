// ShellExecuteW, ShellExecuteExW and the folder view of an item: journaled, launched by nothing
// under the test fixture.
#include "win/system.h"

#include "pal/test/sandbox_test.h"

namespace {

using Shell = pal::test::SandboxTest;

INT_PTR code(HINSTANCE h) {
    return reinterpret_cast<INT_PTR>(h);
}

TEST_F(Shell, LaunchesAreJournaledWithTheirArguments) {
    EXPECT_GT(code(ShellExecuteW(nullptr, nullptr, L"https://example.com/a?b=1", nullptr, nullptr, 0)), 32);
    writeFile("drive_c/docs/readme.pdf", "%PDF");
    EXPECT_GT(code(ShellExecuteW(nullptr, L"open", L"readme.pdf", L"", L"C:\\docs", 5)), 32);
    EXPECT_GT(code(ShellExecuteW(nullptr, L"explore", L"C:\\docs", nullptr, nullptr, 5)), 32);
    EXPECT_GT(code(ShellExecuteW(nullptr, L"open", L"dvpal_system_child.exe", L"argv x", nullptr, 1)), 32);

    const auto entries = journal("ShellExecute");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].get("file"), "https://example.com/a?b=1");
    EXPECT_EQ(entries[0].get("verb"), "");
    EXPECT_EQ(entries[0].get("show"), "0");
    EXPECT_EQ(entries[1].get("directory"), "C:\\docs");
    EXPECT_EQ(entries[1].get("show"), "5");
    EXPECT_EQ(entries[3].get("parameters"), "argv x");
}

TEST_F(Shell, MissingTargetsFail) {
    EXPECT_EQ(code(ShellExecuteW(nullptr, L"open", L"C:\\docs\\none.pdf", nullptr, nullptr, 5)), SE_ERR_PNF);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    writeFile("drive_c/docs/a.txt", "a");
    EXPECT_EQ(code(ShellExecuteW(nullptr, L"open", L"C:\\docs\\none.pdf", nullptr, nullptr, 5)), SE_ERR_FNF);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(code(ShellExecuteW(nullptr, L"open", L"DravikNothing.exe", nullptr, nullptr, 5)), SE_ERR_FNF);
    EXPECT_EQ(journal("ShellExecute").size(), 3u) << "failed requests are journaled too";
}

TEST_F(Shell, ExecuteExOpensTheFallbackPage) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = L"https://example.com/support";
    info.nShow = 5;
    ASSERT_TRUE(ShellExecuteExW(&info));
    EXPECT_GT(code(info.hInstApp), 32);
    EXPECT_EQ(info.hProcess, nullptr);
    ASSERT_EQ(journal("ShellExecute").size(), 1u);
    EXPECT_EQ(journal("ShellExecute")[0].get("verb"), "open");

    info.cbSize = 12;
    EXPECT_FALSE(ShellExecuteExW(&info));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(Shell, AnItemOfAnExistingPathOpensItsFolder) {
    writeFile("drive_c/docs/plan.grb", "x");
    struct Case {
        const wchar_t* path;
        HRESULT parsed;
    };
    const Case cases[] = {{L"C:\\docs\\plan.grb", S_OK},
                          {L"C:\\docs", S_OK},
                          {L"C:\\docs\\none.grb", E_INVALIDARG},
                          {L"", E_INVALIDARG}};
    for (const Case& c : cases) {
        PIDLIST_ABSOLUTE item = reinterpret_cast<PIDLIST_ABSOLUTE>(1);
        EXPECT_EQ(SHParseDisplayName(c.path, nullptr, &item, 0, nullptr), c.parsed);
        EXPECT_EQ(item != nullptr, c.parsed == S_OK);
        if (item != nullptr) {
            EXPECT_EQ(SHOpenFolderAndSelectItems(item, 0, nullptr, 0), S_OK);
        }
        ILFree(item);
    }
    const auto entries = journal("OpenFolderAndSelectItems");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].get("path"), "C:\\docs\\plan.grb");
    EXPECT_EQ(SHOpenFolderAndSelectItems(nullptr, 0, nullptr, 0), E_INVALIDARG);
}

} // namespace
