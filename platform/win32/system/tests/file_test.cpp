// Files and folders with the platform's dispositions, path rules and error codes.
#include "win/system.h"

#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <set>

namespace fs = std::filesystem;

namespace {

class Files : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        ASSERT_TRUE(CreateDirectoryW(L"C:\\data", nullptr));
    }

    static bool put(const wchar_t* path, const std::string& bytes) {
        HANDLE h =
            CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        DWORD n = 0;
        const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
        CloseHandle(h);
        return ok && n == bytes.size();
    }

    static std::string get(const wchar_t* path) {
        HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return "<missing>";
        std::string out;
        char buffer[4096];
        DWORD n = 0;
        while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0)
            out.append(buffer, n);
        CloseHandle(h);
        return out;
    }

    // The outcome of CreateFileW: "ok" or the last error, with the handle closed.
    static std::string open(const wchar_t* path, DWORD access, DWORD disposition, DWORD flags = 0) {
        HANDLE h = CreateFileW(path, access, 0, nullptr, disposition, flags, nullptr);
        const DWORD error = GetLastError();
        if (h == INVALID_HANDLE_VALUE)
            return "error " + std::to_string(error);
        CloseHandle(h);
        return error == ERROR_ALREADY_EXISTS ? "ok, existed" : "ok";
    }
};

TEST_F(Files, CreateFileDispositions) {
    ASSERT_TRUE(put(L"C:\\data\\old.txt", "old contents"));
    const std::string fileExists = "error " + std::to_string(ERROR_FILE_EXISTS);
    const std::string notFound = "error " + std::to_string(ERROR_FILE_NOT_FOUND);
    const std::string pathNotFound = "error " + std::to_string(ERROR_PATH_NOT_FOUND);
    const std::string denied = "error " + std::to_string(ERROR_ACCESS_DENIED);
    const std::string badName = "error " + std::to_string(ERROR_INVALID_NAME);
    const struct {
        const wchar_t* path;
        DWORD access;
        DWORD disposition;
        std::string outcome;
    } cases[] = {
        {L"C:\\data\\old.txt", GENERIC_WRITE, CREATE_NEW, fileExists},
        {L"C:\\data\\new.txt", GENERIC_WRITE, CREATE_NEW, "ok"},
        {L"C:\\data\\old.txt", GENERIC_READ, OPEN_EXISTING, "ok"},
        {L"C:\\data\\none.txt", GENERIC_READ, OPEN_EXISTING, notFound},
        {L"C:\\nofolder\\none.txt", GENERIC_READ, OPEN_EXISTING, pathNotFound},
        {L"C:\\nofolder\\none.txt", GENERIC_WRITE, CREATE_ALWAYS, pathNotFound},
        {L"C:\\data\\new.txt", GENERIC_READ, OPEN_ALWAYS, "ok, existed"},
        {L"C:\\data\\other.txt", GENERIC_WRITE, OPEN_ALWAYS, "ok"},
        {L"C:\\data\\none.txt", GENERIC_WRITE, TRUNCATE_EXISTING, notFound},
        {L"C:\\data", GENERIC_READ, OPEN_EXISTING, denied}, // a folder needs backup semantics
        {L"C:\\data\\a?b.txt", GENERIC_WRITE, CREATE_ALWAYS, badName},
        {L"C:\\data\\a:b.txt", GENERIC_WRITE, CREATE_ALWAYS, badName},
        {L"C:\\data\\a|b.txt", GENERIC_WRITE, CREATE_ALWAYS, badName},
    };
    for (const auto& c : cases)
        EXPECT_EQ(open(c.path, c.access, c.disposition), c.outcome) << pal::text::toUtf8(c.path);
    EXPECT_EQ(open(L"C:\\data", GENERIC_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS), "ok");
    EXPECT_EQ(get(L"C:\\data\\old.txt"), "old contents");
    EXPECT_EQ(open(L"C:\\data\\old.txt", GENERIC_WRITE, CREATE_ALWAYS), "ok, existed");
    EXPECT_EQ(get(L"C:\\data\\old.txt"), "") << "CREATE_ALWAYS truncates";
}

// Names the platform refuses are refused here too: nothing is made in the current folder (no
// file named "unc", no "tmp" folder) and nothing outside the sandbox.
TEST_F(Files, RefusedNamesCreateNothingAnywhere) {
    const fs::path before = fs::current_path();
    const fs::path here = root() / "here";
    fs::create_directories(here);
    fs::current_path(here);
    const struct {
        const wchar_t* path;
        DWORD error;
    } cases[] = {
        {L"\\\\?\\unc", ERROR_PATH_NOT_FOUND},
        {L"\\\\?\\UNC\\", ERROR_INVALID_NAME},
        {L"\\\\?\\tmp\\dv-refused", ERROR_PATH_NOT_FOUND},
        {L"\\\\?\\\\tmp\\dv-refused", ERROR_INVALID_NAME},
        {L"\\\\?\\/tmp/dv-refused", ERROR_INVALID_NAME},
        {L"\\\\.\\pipe\\dv-refused", ERROR_PATH_NOT_FOUND},
        {L"\\\\?\\GLOBALROOT\\dv-refused", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases)
        EXPECT_EQ(open(c.path, GENERIC_WRITE, CREATE_ALWAYS), "error " + std::to_string(c.error))
            << pal::text::toUtf8(c.path);
    fs::current_path(before);
    EXPECT_TRUE(fs::is_empty(here));
    EXPECT_FALSE(fs::exists("/tmp/dv-refused"));
    // A path rooted with one backslash is on the current drive, in the sandbox.
    ASSERT_TRUE(put(L"\\data\\rooted.txt", "rooted"));
    EXPECT_EQ(pal::test::readFile(root() / "drive_c/data/rooted.txt"), "rooted");
}

TEST_F(Files, ReadWriteSeekAndSize) {
    HANDLE h =
        CreateFileW(L"C:\\data\\x.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "0123456789", 10, &n, nullptr));
    LARGE_INTEGER size{}, pos{}, distance{};
    ASSERT_TRUE(GetFileSizeEx(h, &size));
    EXPECT_EQ(size.QuadPart, 10);
    distance.QuadPart = -4;
    ASSERT_TRUE(SetFilePointerEx(h, distance, &pos, FILE_END));
    EXPECT_EQ(pos.QuadPart, 6);
    char buffer[16] = {};
    ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(std::string(buffer, n), "6789");
    ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(n, 0u) << "the end of a file is a successful read of nothing";
    distance.QuadPart = -100;
    EXPECT_FALSE(SetFilePointerEx(h, distance, &pos, FILE_CURRENT));
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    distance.QuadPart = 3;
    ASSERT_TRUE(SetFilePointerEx(h, distance, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(h));
    ASSERT_TRUE(FlushFileBuffers(h));
    ASSERT_TRUE(GetFileSizeEx(h, &size));
    EXPECT_EQ(size.QuadPart, 3);
    FILETIME created{}, written{};
    ASSERT_TRUE(GetFileTime(h, &created, nullptr, &written));
    EXPECT_NE(written.dwHighDateTime, 0u);
    EXPECT_EQ(GetFileType(h), FILE_TYPE_DISK);
    CloseHandle(h);

    h = CreateFileW(L"C:\\data\\x.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(SetEndOfFile(h));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(ReadFile(h, nullptr, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_NOACCESS);
    EXPECT_TRUE(ReadFile(h, nullptr, 0, &n, nullptr)) << "nothing to read needs no buffer";
    CloseHandle(h);
    h = CreateFileW(L"C:\\data\\x.bin", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(ReadFile(h, buffer, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(WriteFile(h, nullptr, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_NOACCESS);
    CloseHandle(h);
    EXPECT_FALSE(ReadFile(h, buffer, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(Files, ReadOnlyFilesRefuseWritesEvenToAnAdministrator) {
    ASSERT_TRUE(put(L"C:\\data\\locked.txt", "keep"));
    ASSERT_TRUE(SetFileAttributesW(L"C:\\data\\locked.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesW(L"C:\\data\\locked.txt"), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(open(L"C:\\data\\locked.txt", GENERIC_WRITE, OPEN_EXISTING), "error 5");
    EXPECT_EQ(open(L"C:\\data\\locked.txt", GENERIC_READ, CREATE_ALWAYS), "error 5");
    EXPECT_FALSE(DeleteFileW(L"C:\\data\\locked.txt"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    ASSERT_TRUE(put(L"C:\\data\\other.txt", "other"));
    EXPECT_FALSE(CopyFileW(L"C:\\data\\other.txt", L"C:\\data\\locked.txt", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(MoveFileExW(L"C:\\data\\other.txt", L"C:\\data\\locked.txt", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(get(L"C:\\data\\locked.txt"), "keep");
    ASSERT_TRUE(SetFileAttributesW(L"C:\\data\\locked.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileW(L"C:\\data\\locked.txt"));
    EXPECT_FALSE(SetFileAttributesW(L"C:\\data\\locked.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(Files, FoldersAndTheirErrors) {
    EXPECT_FALSE(CreateDirectoryW(L"C:\\data", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectoryW(L"C:\\none\\sub", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    ASSERT_TRUE(CreateDirectoryW(L"C:\\data\\sub\\", nullptr));
    ASSERT_TRUE(put(L"C:\\data\\sub\\f.txt", "f"));
    EXPECT_FALSE(RemoveDirectoryW(L"C:\\data\\sub"));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    EXPECT_FALSE(RemoveDirectoryW(L"C:\\data\\sub\\f.txt"));
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
    EXPECT_FALSE(DeleteFileW(L"C:\\data\\sub"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(DeleteFileW(L"C:\\data\\sub\\g.txt"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteFileW(L"C:\\data\\nosub\\g.txt"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(DeleteFileW(L"C:\\data\\sub\\f.txt"));
    EXPECT_TRUE(RemoveDirectoryW(L"C:\\data\\sub"));
    EXPECT_FALSE(RemoveDirectoryW(L"C:\\data\\sub"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(Files, FindMatchesWildcardsWithoutCaseInNameOrder) {
    for (const wchar_t* f : {L"C:\\data\\b.TXT", L"C:\\data\\a.txt", L"C:\\data\\c.doc", L"C:\\data\\noext"})
        ASSERT_TRUE(put(f, "12345"));
    ASSERT_TRUE(CreateDirectoryW(L"C:\\data\\Dir", nullptr));
    auto find = [](const wchar_t* pattern) {
        std::vector<std::string> names;
        WIN32_FIND_DATAW d;
        HANDLE h = FindFirstFileW(pattern, &d);
        if (h == INVALID_HANDLE_VALUE)
            return std::vector<std::string>{"error " + std::to_string(GetLastError())};
        do {
            std::string n = pal::text::toUtf8(d.cFileName);
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                n += "/";
            else
                EXPECT_EQ(d.nFileSizeLow, 5u);
            names.push_back(n);
        } while (FindNextFileW(h, &d));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
        EXPECT_TRUE(FindClose(h));
        return names;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(find(L"C:\\data\\*.txt"), (V{"a.txt", "b.TXT"}));
    EXPECT_EQ(find(L"C:\\data\\*"), (V{"./", "../", "a.txt", "b.TXT", "c.doc", "Dir/", "noext"}));
    EXPECT_EQ(find(L"C:/data/*.*"), find(L"C:\\data\\*"));
    EXPECT_EQ(find(L"C:\\data\\?.DOC"), (V{"c.doc"}));
    EXPECT_EQ(find(L"C:\\data\\dir"), (V{"Dir/"}));
    EXPECT_EQ(find(L"C:\\data\\*.xls"), (V{"error 2"}));
    EXPECT_EQ(find(L"C:\\none\\*"), (V{"error 3"}));
    const auto rootNames = find(L"C:\\*");
    EXPECT_EQ(std::count(rootNames.begin(), rootNames.end(), "data/"), 1);
    EXPECT_EQ(std::count(rootNames.begin(), rootNames.end(), "./"), 0) << "a drive's root has no dot entries";
}

TEST_F(Files, CopyMoveAndTemporaryNames) {
    ASSERT_TRUE(put(L"C:\\data\\a.txt", "first"));
    ASSERT_TRUE(put(L"C:\\data\\b.txt", "second"));
    EXPECT_FALSE(CopyFileW(L"C:\\data\\a.txt", L"C:\\data\\b.txt", TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(get(L"C:\\data\\b.txt"), "second");
    EXPECT_TRUE(CopyFileW(L"C:\\data\\a.txt", L"C:\\data\\b.txt", FALSE));
    EXPECT_EQ(get(L"C:\\data\\b.txt"), "first");
    EXPECT_FALSE(CopyFileW(L"C:\\data\\none.txt", L"C:\\data\\c.txt", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(CopyFileW(L"C:\\data\\a.txt", L"C:\\nofolder\\c.txt", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

    EXPECT_FALSE(MoveFileExW(L"C:\\data\\a.txt", L"C:\\data\\b.txt", 0));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(put(L"C:\\data\\a.txt", "third"));
    EXPECT_TRUE(MoveFileExW(L"C:\\data\\a.txt", L"C:\\data\\b.txt",
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(get(L"C:\\data\\b.txt"), "third");
    EXPECT_EQ(get(L"C:\\data\\a.txt"), "<missing>");
    EXPECT_TRUE(MoveFileW(L"C:\\data", L"C:\\moved"));
    EXPECT_EQ(get(L"C:\\moved\\b.txt"), "third");
    // Nothing of a copy is left beside its target.
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(root() / "drive_c" / "moved"))
        left.insert(e.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"b.txt"}));

    wchar_t first[MAX_PATH], second[MAX_PATH], named[MAX_PATH];
    const UINT n1 = GetTempFileNameW(L"C:\\moved", L"DVtmp", 0, first);
    const UINT n2 = GetTempFileNameW(L"C:\\moved\\", L"DV", 0, second);
    ASSERT_NE(n1, 0u);
    ASSERT_NE(n2, 0u);
    EXPECT_STRNE(first, second);
    EXPECT_EQ(std::wstring(first).rfind(L"C:\\moved\\DVt", 0), 0u) << "three characters of the prefix";
    EXPECT_EQ(std::wstring(first).substr(std::wcslen(first) - 4), L".TMP");
    EXPECT_NE(GetFileAttributesW(first), INVALID_FILE_ATTRIBUTES) << "a new name is created";
    EXPECT_EQ(GetTempFileNameW(L"C:\\moved", L"x", 0x1AB, named), 0x1ABu);
    EXPECT_STREQ(named, L"C:\\moved\\x1AB.TMP");
    EXPECT_EQ(GetFileAttributesW(named), INVALID_FILE_ATTRIBUTES) << "a given number creates nothing";
    EXPECT_EQ(GetTempFileNameW(L"C:\\nowhere", L"x", 0, named), 0u);
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);

    ASSERT_TRUE(CreateDirectoryW(L"C:\\moved\\folder", nullptr));
    EXPECT_FALSE(MoveFileExW(L"C:\\moved\\folder", L"C:\\moved\\b.txt", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED) << "a folder does not replace a file";
    EXPECT_EQ(get(L"C:\\moved\\b.txt"), "third");
}

} // namespace
