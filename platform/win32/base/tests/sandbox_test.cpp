#include "pal/test/sandbox_test.h"
#include "pal/clock.h"
#include "pal/path.h"
#include "pal/sandbox.h"
#include "pal/text.h"
#include "win/base.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

class Sandbox : public pal::test::SandboxTest {};

TEST_F(Sandbox, RootComesFromTheEnvironment) {
    EXPECT_EQ(pal::sandbox::root(), root());
    EXPECT_EQ(pal::sandbox::runDir(), root() / "run");
    EXPECT_TRUE(fs::is_directory(root() / "run"));
}

TEST_F(Sandbox, RootThatCannotBeCreatedGivesAClearError) {
    const fs::path blocker = writeFile("blocker", "a file, not a folder");
    ::setenv("DV_PAL_ROOT", (blocker / "root").c_str(), 1);
    pal::sandbox::reset();
    try {
        pal::sandbox::root();
        FAIL() << "no error";
    } catch (const pal::sandbox::Error& e) {
        EXPECT_NE(std::string(e.what()).find("DV_PAL_ROOT"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find((blocker / "root").string()), std::string::npos) << e.what();
    }
    ::setenv("DV_PAL_ROOT", root().c_str(), 1);
    pal::sandbox::reset();
}

TEST_F(Sandbox, PathsMapByThePlatformRules) {
    const struct {
        const wchar_t* in;
        fs::path expected;
    } cases[] = {
        {L"C:\\Program Files\\Dravik\\app.ini", root() / "drive_c/Program Files/Dravik/app.ini"},
        {L"c:/x/y", root() / "drive_c/x/y"},
        {L"D:\\", root() / "drive_d"},
        {L"/usr/share/x", "/usr/share/x"},
        {L"relative\\sub\\f.txt", "relative/sub/f.txt"},
        {L"\\\\server\\share\\f", root() / "unc/server/share/f"},
        {L"\\\\?\\C:\\long", root() / "drive_c/long"},
        // ".." stops at the drive's or the share's root, so no path leaves the sandbox.
        {L"C:\\..\\..\\etc\\passwd", root() / "drive_c/etc/passwd"},
        {L"C:\\a\\.\\missing\\..\\b", root() / "drive_c/a/b"},
        {L"\\\\server\\share\\..\\..\\x", root() / "unc/server/share/x"},
        {L"\\\\?\\UNC\\server\\share\\f", root() / "unc/server/share/f"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pal::path::toNative(c.in).lexically_normal(), c.expected.lexically_normal()) << c.expected;
    EXPECT_EQ(pal::path::fromNative(root() / "drive_c" / "Users" / "a.txt"), L"C:\\Users\\a.txt");
    EXPECT_EQ(pal::path::fromNative("/etc/hosts"), L"/etc/hosts");
    EXPECT_EQ(pal::path::toNative(L"C:\\dir\\"), root() / "drive_c/dir/");
    // A neighbour of a drive folder is not a drive.
    EXPECT_EQ(pal::path::fromNative(root() / "drive_cx" / "a"),
              pal::text::fromUtf8((root() / "drive_cx/a").string()));
    EXPECT_TRUE(pal::path::isAbsolute(L"C:\\x"));
    EXPECT_TRUE(pal::path::isAbsolute(L"/x"));
    EXPECT_FALSE(pal::path::isAbsolute(L"x\\y"));
    EXPECT_FALSE(pal::path::isAbsolute(L"C:x"));
}

TEST_F(Sandbox, KnownFoldersLiveInsideTheSandbox) {
    wchar_t path[MAX_PATH];
    for (int folder : {CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_COMMON_APPDATA, CSIDL_PERSONAL}) {
        ASSERT_EQ(SHGetFolderPathW(nullptr, folder, nullptr, 0, path), S_OK);
        EXPECT_EQ(std::wstring(path).rfind(L"C:\\", 0), 0u) << path;
        EXPECT_TRUE(fs::is_directory(pal::path::toNative(path)));
    }
    EXPECT_EQ(SHGetFolderPathW(nullptr, 0x7777, nullptr, 0, path), E_INVALIDARG);
    EXPECT_EQ(GetFileAttributesW(L"C:\\Windows\\System32"), INVALID_FILE_ATTRIBUTES);
    ASSERT_GT(GetSystemDirectoryW(path, MAX_PATH), 0u);
    EXPECT_EQ(GetFileAttributesW(path) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Sandbox, ProgramFileAndEnvironment) {
    wchar_t buffer[4096];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, 4096);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(fs::path(buffer).filename(), "dvpal_base_tests");
    wchar_t small[4];
    EXPECT_EQ(GetModuleFileNameW(nullptr, small, 4), 4u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(small[3], L'\0');

    ASSERT_TRUE(SetEnvironmentVariableW(L"DV_TEST_VAR", L"\u0416value"));
    EXPECT_EQ(GetEnvironmentVariableW(L"DV_TEST_VAR", small, 4), 7u); // size needed with terminator
    EXPECT_EQ(GetEnvironmentVariableW(L"DV_TEST_VAR", buffer, 4096), 6u);
    EXPECT_STREQ(buffer, L"\u0416value");
    EXPECT_EQ(ExpandEnvironmentStringsW(L"%DV_TEST_VAR%\\%NOT_SET_X%", buffer, 4096), 19u);
    EXPECT_STREQ(buffer, L"\u0416value\\%NOT_SET_X%");
    ASSERT_TRUE(SetEnvironmentVariableW(L"DV_TEST_VAR", nullptr));
    EXPECT_EQ(GetEnvironmentVariableW(L"DV_TEST_VAR", buffer, 4096), 0u);
    EXPECT_EQ(GetLastError(), ERROR_ENVVAR_NOT_FOUND);
}

TEST_F(Sandbox, ManualClockMovesOnlyWhenAdvanced) {
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(GetTickCount64(), start);
    int heard = 0;
    const int id = pal::clock::addAdvanceListener([&] { ++heard; });
    advance(250);
    EXPECT_EQ(GetTickCount64(), start + 250);
    EXPECT_EQ(heard, 1);
    pal::clock::removeAdvanceListener(id);
}

TEST_F(Sandbox, VirtualMemoryIsReleasedWithSizeZero) {
    void* p = VirtualAlloc(nullptr, 1 << 20, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(p, nullptr);
    static_cast<char*>(p)[(1 << 20) - 1] = 1;
    EXPECT_FALSE(VirtualFree(p, 10, MEM_RELEASE));
    EXPECT_TRUE(VirtualFree(p, 0, MEM_RELEASE));
    EXPECT_FALSE(VirtualFree(p, 0, MEM_RELEASE));
}

} // namespace
