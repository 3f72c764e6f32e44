#include "pal/test/sandbox_test.h"
#include "pal/clock.h"
#include "pal/journal.h"
#include "pal/path.h"
#include "pal/sandbox.h"
#include "pal/test/unusable_roots.h"
#include "pal/text.h"
#include "win/base.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class Sandbox : public pal::test::SandboxTest {};

// The system folder holds the platform's own system libraries, copied from the program folder,
// from the moment it is made; one made before gets them once. A library taken out stays out.
TEST_F(Sandbox, TheSystemFolderHoldsThePlatformsLibraries) {
    const fs::path built = binDir() / "mapi32.so";
    if (!fs::exists(built))
        GTEST_SKIP() << "the mail library is not built";
    const std::string library = pal::test::readFile(built);
    for (const bool older : {false, true}) {
        SCOPED_TRACE(older ? "a folder made before" : "a new folder");
        const fs::path folder = root() / "drive_c" / "Windows" / "System32";
        fs::remove_all(folder);
        if (older)
            fs::create_directories(folder);
        EXPECT_EQ(pal::folders::system(), folder);
        EXPECT_EQ(pal::test::readFile(folder / "mapi32.so"), library);
        fs::remove(folder / "mapi32.so");
        pal::folders::system();
        EXPECT_FALSE(fs::exists(folder / "mapi32.so")) << "taken out, it stays out";
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder.parent_path()))
            names.push_back(e.path().filename().string());
        EXPECT_EQ(names, std::vector<std::string>{"System32"}) << "no half-made folder is left";
    }
}

TEST_F(Sandbox, RootComesFromTheEnvironment) {
    EXPECT_EQ(pal::sandbox::root(), root());
    EXPECT_EQ(pal::sandbox::runDir(), root() / "run");
    EXPECT_TRUE(fs::is_directory(root() / "run"));
}

TEST_F(Sandbox, ARootThatCannotBeMadeStopsTheProgramWithTheReason) {
    const char* user = std::getenv("USER");
    const std::optional<std::string> ownUser = user ? std::optional<std::string>(user) : std::nullopt;
    for (const auto& c : pal::test::unusableRoots(root() / "scratch")) {
        ::setenv("DV_PAL_ROOT", c.root.c_str(), 1);
        for (const auto& [name, value] : c.environment)
            ::setenv(name.c_str(), value->c_str(), 1);
        pal::sandbox::reset();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(pal::sandbox::prepare("prog")) << c.name;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("prog: cannot create the ", 0), 0u) << c.name << ": " << said;
        EXPECT_NE(said.find("folder '"), std::string::npos) << c.name << ": " << said;
        if (ownUser)
            ::setenv("USER", ownUser->c_str(), 1);
        else
            ::unsetenv("USER");
    }
    ::setenv("DV_PAL_ROOT", root().c_str(), 1);
    pal::sandbox::reset();
    EXPECT_TRUE(pal::sandbox::prepare("prog"));
}

// A socket bound at `path`, listening or not; -1 when it cannot be made.
int boundSocket(const fs::path& path, bool listening) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        (listening && ::listen(fd, 4) != 0))
        return -1;
    return fd;
}

// A start sweeps the sockets that processes which did not end cleanly left in the run folder, and
// only those: the sockets of live processes and anything that is no socket stay.
TEST_F(Sandbox, AStartSweepsTheSocketsOfProcessesThatAreGone) {
    const fs::path run = pal::sandbox::runDir();
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0); // a process id nobody holds now
    const std::string gone = std::to_string(child), alive = std::to_string(::getpid());
    struct Case {
        std::string name;
        bool socket;
        bool listening;
        bool stays;
    };
    const Case cases[] = {
        {"com-{live}", true, true, true},
        {"com-{nobody}", true, false, false},
        {"drop-" + gone, true, true, false},
        {"drop-" + alive, true, true, true},
        {".new-" + gone + "-0-com-{x}", true, false, false},
        {".new-" + alive + "-0-com-{y}", true, false, true},
        {"com-{a-file}", false, false, true},
    };
    std::vector<int> open;
    for (const Case& c : cases) {
        if (c.socket) {
            const int fd = boundSocket(run / c.name, c.listening);
            ASSERT_GE(fd, 0) << c.name;
            open.push_back(fd);
        } else {
            std::ofstream(run / c.name) << "not a socket";
        }
    }
    // A process that ended leaves its bound socket behind; only its descriptor goes.
    ::close(open[2]);
    EXPECT_TRUE(pal::sandbox::prepare("prog"));
    for (const Case& c : cases)
        EXPECT_EQ(fs::exists(run / c.name), c.stays) << c.name;
    for (int fd : open)
        ::close(fd);
}

// Temporary files go with the process that made them: at its end, or at the next start when it
// was killed. Files outside the temporary folder and those of live processes stay.
TEST_F(Sandbox, TemporaryFilesGoWithTheProcessThatMadeThem) {
    const fs::path temp = pal::folders::temp();
    const fs::path outside = pal::folders::documents() / "kept.TMP";
    struct Case {
        const char* name;
        bool endsCleanly;
        bool staysUntilNextStart;
    };
    const Case cases[] = {
        {"clean.TMP", true, false},
        {"killed.TMP", false, true},
    };
    for (const Case& c : cases) {
        std::ofstream(temp / c.name) << "data";
        std::ofstream(outside) << "data";
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            pal::sandbox::ownTemporary(temp / c.name);
            pal::sandbox::ownTemporary(outside);
            if (c.endsCleanly)
                std::exit(0);
            ::_exit(0);
        }
        ASSERT_GT(child, 0);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << c.name;
        EXPECT_EQ(fs::exists(temp / c.name), c.staysUntilNextStart) << c.name;
        EXPECT_TRUE(pal::sandbox::prepare("prog"));
        EXPECT_FALSE(fs::exists(temp / c.name)) << c.name;
        EXPECT_FALSE(fs::exists(pal::sandbox::runDir() / ("temp-" + std::to_string(child)))) << c.name;
        EXPECT_TRUE(fs::exists(outside)) << c.name;
    }
    // This process is alive: a start by another process leaves its files.
    std::ofstream(temp / "mine.TMP") << "data";
    pal::sandbox::ownTemporary(temp / "mine.TMP");
    EXPECT_TRUE(pal::sandbox::prepare("prog"));
    EXPECT_TRUE(fs::exists(temp / "mine.TMP"));
}

TEST_F(Sandbox, ARelativeRootIsMadeAbsoluteForChildren) {
    const fs::path before = fs::current_path();
    fs::current_path(root());
    ::setenv("DV_PAL_ROOT", "relative/root", 1);
    pal::sandbox::reset();
    const fs::path made = pal::sandbox::root();
    fs::current_path(before);
    EXPECT_EQ(made, root() / "relative" / "root");
    EXPECT_EQ(std::string(std::getenv("DV_PAL_ROOT")), made.string());
    ::setenv("DV_PAL_ROOT", root().c_str(), 1);
    pal::sandbox::reset();
}

TEST_F(Sandbox, PrivateFoldersAndTheJournalAreTheUsersAlone) {
    const mode_t old = ::umask(0); // what is private must not depend on the umask
    ::setenv("DV_PAL_ROOT", (root() / "fresh").c_str(), 1);
    pal::sandbox::reset();
    const fs::path r = pal::sandbox::root();
    pal::journal::record("test.private", {});
    const struct {
        fs::path path;
        unsigned mode;
    } cases[] = {
        {r, 0700},
        {pal::sandbox::runDir(), 0700},
        {pal::folders::roamingAppData().parent_path().parent_path(), 0700},
        {pal::folders::roamingAppData(), 0700},
        {pal::folders::localAppData(), 0700},
        {pal::folders::documents(), 0700},
        {pal::folders::temp(), 0700},
        {r / "journal.log", 0600},
    };
    for (const auto& c : cases) {
        struct stat st {};
        ASSERT_EQ(::stat(c.path.c_str(), &st), 0) << c.path;
        EXPECT_EQ(st.st_mode & 07777, c.mode) << c.path;
    }
    ::umask(old);
    ::setenv("DV_PAL_ROOT", root().c_str(), 1);
    pal::sandbox::reset();
}

TEST_F(Sandbox, UserNamesThatWouldLeaveUsersGiveWayToAFixedName) {
    const char* saved = std::getenv("USER");
    const std::string keep = saved ? saved : "";
    const struct {
        const char* user;
        const char* folder;
    } cases[] = {
        {"alice", "alice"}, {"Анна", "Анна"}, {"../../../../../tmp/out", "user"},
        {"/etc", "user"},   {"a/b", "user"},  {"a\\b", "user"},
        {".", "user"},      {"..", "user"},   {"...", "user"},
        {"C:", "user"},     {"x\ty", "user"}, {"", "user"},
    };
    const fs::path users = root() / "drive_c" / "Users";
    for (const auto& c : cases) {
        ::setenv("USER", c.user, 1);
        const fs::path expected = users / c.folder;
        EXPECT_EQ(pal::folders::roamingAppData(), expected / "AppData" / "Roaming") << c.user;
        EXPECT_EQ(pal::folders::localAppData(), expected / "AppData" / "Local") << c.user;
        EXPECT_EQ(pal::folders::documents(), expected / "Documents") << c.user;
        EXPECT_EQ(pal::folders::temp(), expected / "AppData" / "Local" / "Temp") << c.user;
    }
    if (saved)
        ::setenv("USER", keep.c_str(), 1);
    else
        ::unsetenv("USER");
    EXPECT_FALSE(fs::exists(root().parent_path() / "tmp" / "out"));
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
        {L"\\\\?\\unc\\server\\share\\f", root() / "unc/server/share/f"},
        {L"\\\\.\\Unc\\server\\share", root() / "unc/server/share"},
        {L"\\\\.\\C:\\x", root() / "drive_c/x"},
        // One leading backslash is the root of the current drive; a leading slash is the host's.
        {L"\\tmp\\x", root() / "drive_c/tmp/x"},
        {L"\\..\\..\\etc", root() / "drive_c/etc"},
        {L"/tmp/x", "/tmp/x"},
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

TEST_F(Sandbox, RootedPathsFollowTheCurrentDrive) {
    const fs::path before = fs::current_path();
    fs::current_path(pal::sandbox::drive(L'D'));
    const fs::path mapped = pal::path::toNative(L"\\tmp\\x");
    fs::current_path(before);
    EXPECT_EQ(mapped, root() / "drive_d/tmp/x");
}

// After the long-path and device prefixes only drive paths and shares are known; the rest is
// refused, never read as a file relative to the current folder.
TEST_F(Sandbox, NamesThePlatformRefusesFailWithItsErrors) {
    const struct {
        const wchar_t* in;
        DWORD error;
    } cases[] = {
        {L"\\\\?\\\\tmp\\x", ERROR_INVALID_NAME},
        {L"\\\\?\\/tmp/x", ERROR_INVALID_NAME},
        {L"\\\\?\\", ERROR_INVALID_NAME},
        {L"\\\\.\\pipe\\dravik", ERROR_PATH_NOT_FOUND},
        {L"\\\\?\\GLOBALROOT\\Device\\x", ERROR_PATH_NOT_FOUND},
        {L"\\\\?\\unc", ERROR_PATH_NOT_FOUND},
        {L"\\\\?\\tmp\\x", ERROR_PATH_NOT_FOUND},
        {L"\\\\?\\UNC\\", ERROR_INVALID_NAME},
        {L"\\\\?\\UNC\\server", ERROR_INVALID_NAME},
        {L"\\\\?\\UNC\\..\\..\\x", ERROR_INVALID_NAME},
        {L"\\\\server", ERROR_INVALID_NAME},
        {L"\\\\server\\\\x", ERROR_INVALID_NAME},
    };
    for (const auto& c : cases) {
        const std::string shown = pal::text::toUtf8(c.in);
        std::uint32_t error = 0;
        EXPECT_EQ(pal::path::toNative(c.in, error), fs::path()) << shown;
        EXPECT_EQ(error, c.error) << shown;
        EXPECT_EQ(GetFileAttributesW(c.in), INVALID_FILE_ATTRIBUTES) << shown;
        EXPECT_EQ(GetLastError(), c.error) << shown;
    }
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

    // The search path is a Windows list in the program and the host's list outside it.
    const char* hostPath = std::getenv("PATH");
    const std::string savedPath = hostPath ? hostPath : "";
    ::setenv("PATH", "/usr/bin:/bin", 1);
    ASSERT_EQ(GetEnvironmentVariableW(L"PATH", buffer, 4096), 13u);
    EXPECT_STREQ(buffer, L"/usr/bin;/bin");
    ASSERT_TRUE(SetEnvironmentVariableW(L"PATH", (std::wstring(buffer) + L";/opt/help").c_str()));
    EXPECT_STREQ(std::getenv("PATH"), "/usr/bin:/bin:/opt/help");
    ::setenv("PATH", savedPath.c_str(), 1);
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
