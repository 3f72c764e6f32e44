// ShellExecuteW and ShellExecuteExW: journaled, launched by nothing under the test fixture.
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

} // namespace
