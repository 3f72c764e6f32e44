// Paths a careless add-on or a hostile document may hand the file functions: whatever their
// spelling, nothing outside the sandbox is created, changed or read through them.
#include "win/system.h"

#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <fstream>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

// Every file below `folder` with its contents (a long one by its size and hash).
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().lexically_relative(folder).string();
        const std::string bytes = entry.is_regular_file() ? pal::test::readFile(entry.path()) : "<folder>";
        files[name] = bytes.size() < 64 ? bytes
                                        : std::to_string(bytes.size()) + " bytes, hash " +
                                              std::to_string(std::hash<std::string>{}(bytes));
    }
    return files;
}

std::wstring wide(const std::string& s) {
    return pal::text::fromUtf8(s);
}

class HostilePaths : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        std::string pattern = (root().parent_path() / "dvtest-outside-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        outside_ = pattern;
        std::ofstream(outside_ / "secret.txt") << "secret";
        std::ofstream(outside_ / "victim.txt") << "victim";
        fs::copy_file(binDir() / "dvpal_test_module.so", outside_ / "dvpal_test_module.so");
        fs::create_directories(outside_ / "sub");

        work_ = root() / "drive_c" / "work";
        fs::create_directories(work_);
        std::ofstream(work_ / "mine.txt") << "mine";
        // A folder the host would take "1:" for, were such a name let through.
        fs::create_directories(work_ / "1:");
        fs::create_directory_symlink(outside_, root() / "drive_c" / "link");
        previous_ = fs::current_path();
        fs::current_path(work_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        std::error_code ec;
        fs::remove_all(outside_, ec);
        SandboxTest::TearDown();
    }

    // The spellings that would reach the outside folder, each ending in a separator so that a
    // file name can follow.
    std::vector<std::wstring> hostileFolders() const {
        const std::wstring name = wide(outside_.filename().string());
        const std::wstring up = L"..\\..\\..\\..\\..\\..\\..\\..\\";
        const std::wstring tmp = wide(outside_.parent_path().relative_path().string());
        std::wstring tmpBack = tmp;
        for (auto& c : tmpBack)
            if (c == L'/')
                c = L'\\';
        const std::wstring longName(300, L'x');
        return {
            up + tmpBack + L"\\" + name + L"\\",
            L"../../../../../../../../" + tmp + L"/" + name + L"/",
            L"C:" + up + tmpBack + L"\\" + name + L"\\",
            L"C:\\" + up + tmpBack + L"\\" + name + L"\\",
            L"1:\\" + up + tmpBack + L"\\" + name + L"\\",
            L"1:" + up + tmpBack + L"\\" + name + L"\\",
            L"\\\\?\\C:\\" + up + tmpBack + L"\\" + name + L"\\",
            L"\\\\server\\share\\" + up + tmpBack + L"\\" + name + L"\\",
            L"\\\\?\\UNC\\server\\share\\" + up + tmpBack + L"\\" + name + L"\\",
            L"\\\\?\\UNC\\" + up + tmpBack + L"\\" + name + L"\\",
            L"\\\\.\\" + up + tmpBack + L"\\" + name + L"\\",
            L"\\\\..\\..\\" + up + tmpBack + L"\\" + name + L"\\",
            L"work:" + up + tmpBack + L"\\" + name + L"\\",
            up + longName + L"\\..\\" + tmpBack + L"\\" + name + L"\\",
            L"C:\\link\\",
            L"..\\link\\",
            L"C:\\link\\sub\\..\\",
        };
    }

    fs::path outside_;
    fs::path work_;
    fs::path previous_;
};

TEST_F(HostilePaths, NothingOutsideTheSandboxIsCreatedChangedOrRead) {
    const auto before = snapshot(outside_);
    for (const std::wstring& folder : hostileFolders()) {
        SCOPED_TRACE(pal::text::toUtf8(folder));
        const std::wstring secret = folder + L"secret.txt";
        const std::wstring victim = folder + L"victim.txt";

        HANDLE h = CreateFileW((folder + L"created.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                               nullptr);
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
        h = CreateFileW(victim.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
        h = CreateFileW(secret.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "the outside file was opened for reading";
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);

        CreateDirectoryW((folder + L"made").c_str(), nullptr);
        EXPECT_FALSE(CopyFileW(secret.c_str(), L"C:\\work\\copied.txt", FALSE));
        CopyFileW(L"C:\\work\\mine.txt", (folder + L"copy.txt").c_str(), FALSE);
        EXPECT_FALSE(MoveFileExW(victim.c_str(), L"C:\\work\\moved.txt", MOVEFILE_COPY_ALLOWED));
        CopyFileW(L"C:\\work\\mine.txt", L"C:\\work\\spare.txt", FALSE);
        MoveFileExW(L"C:\\work\\spare.txt", (folder + L"moved.txt").c_str(),
                    MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING);
        DeleteFileW(victim.c_str());

        WIN32_FIND_DATAW found{};
        h = FindFirstFileW((folder + L"*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do
                EXPECT_NE(std::wstring(found.cFileName), L"secret.txt") << "the outside folder was listed";
            while (FindNextFileW(h, &found));
            FindClose(h);
        }

        HMODULE module = LoadLibraryW((folder + L"dvpal_test_module.dll").c_str());
        EXPECT_EQ(module, nullptr) << "a library outside the sandbox was loaded";
        if (module)
            FreeLibrary(module);

        EXPECT_EQ(snapshot(outside_), before);
    }
    EXPECT_FALSE(fs::exists(work_ / "copied.txt"));
    EXPECT_FALSE(fs::exists(work_ / "moved.txt"));
    EXPECT_TRUE(fs::is_empty(work_ / "1:"));
}

// The refusals give the platform's error codes; the spellings that stay in the sandbox still
// work, with ".." stopping at the drive's root.
TEST_F(HostilePaths, RefusedSpellingsAndTheirErrors) {
    const struct {
        std::wstring path;
        DWORD error;
    } refused[] = {
        {L"1:\\..\\x.txt", ERROR_INVALID_NAME},
        {L"1:x.txt", ERROR_INVALID_NAME},
        {L"work:x.txt", ERROR_INVALID_NAME},
        {L"C:\\work\\x.txt:stream", ERROR_INVALID_NAME},
        {L"C:\\work\\NUL", ERROR_INVALID_NAME},
        {L"C:\\work\\con.txt", ERROR_INVALID_NAME},
        {L"COM1", ERROR_INVALID_NAME},
        {L"lpt9.log", ERROR_INVALID_NAME},
        {L"aux \\x.txt", ERROR_INVALID_NAME},
        {L"C:\\link\\x.txt", ERROR_ACCESS_DENIED},
        {L"..\\link\\x.txt", ERROR_ACCESS_DENIED},
        {L"C:\\work\\" + std::wstring(300, L'x'), ERROR_FILENAME_EXCED_RANGE},
    };
    for (const auto& c : refused) {
        HANDLE h = CreateFileW(c.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE) << pal::text::toUtf8(c.path);
        EXPECT_EQ(GetLastError(), c.error) << pal::text::toUtf8(c.path);
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }

    const struct {
        std::wstring path;
        std::string lands;
    } kept[] = {
        {L"here.txt", "drive_c/work/here.txt"},
        {L"..\\..\\..\\..\\top.txt", "drive_c/top.txt"},
        {L"C:..\\beside.txt", "drive_c/beside.txt"},
        {L"C:again.txt", "drive_c/work/again.txt"},
        {L"\\\\server\\share\\..\\..\\..\\share.txt", "unc/server/share/share.txt"},
    };
    for (const auto& c : kept) {
        HANDLE h = CreateFileW(c.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            // a share's folders exist only once made
            fs::create_directories((root() / c.lands).parent_path());
            h = CreateFileW(c.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        }
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << pal::text::toUtf8(c.path) << ": " << GetLastError();
        CloseHandle(h);
        EXPECT_TRUE(fs::is_regular_file(root() / c.lands)) << pal::text::toUtf8(c.path);
    }
}

// From a current folder in the sandbox but outside the drives, ".." stops at the root.
TEST_F(HostilePaths, TheRootIsTheFloorOutsideTheDrives) {
    fs::create_directories(root() / "elsewhere");
    fs::current_path(root() / "elsewhere");
    HANDLE h =
        CreateFileW(L"..\\..\\..\\..\\floor.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    CloseHandle(h);
    EXPECT_TRUE(fs::is_regular_file(root() / "floor.txt"));
}

} // namespace
