#include "pal/sandbox.h"

#include "pal/path.h"
#include "pal/text.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <fstream>
#include <mutex>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace pal::sandbox {
namespace {

std::mutex& rootMutex() {
    static std::mutex m;
    return m;
}
std::optional<fs::path>& cachedRoot() {
    static std::optional<fs::path> root;
    return root;
}

fs::path defaultRoot() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return fs::path(data) / "dravik";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local" / "share" / "dravik";
    return fs::temp_directory_path() / ("dravik-" + std::to_string(getuid()));
}

// Creates the missing folders of `folder`, each with `mode` (less the umask, unless private);
// folders that exist keep theirs. The folder must then be one this process can write in.
void ensureFolder(const fs::path& folder, const char* what, mode_t mode = 0755) {
    const auto fail = [&](const std::string& why) {
        throw Error(std::string("cannot create the ") + what + " folder '" + folder.string() + "': " + why);
    };
    fs::path made;
    for (const auto& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), mode) == 0) {
            if ((mode & 077) == 0)
                ::chmod(made.c_str(), mode); // a private folder is private whatever the umask
        } else if (errno != EEXIST) {
            fail(std::generic_category().message(errno));
        }
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        fail(std::generic_category().message(errno));
    if (!S_ISDIR(st.st_mode))
        fail("it is not a folder");
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        fail(std::generic_category().message(errno));
}

} // namespace

const fs::path& root() {
    std::lock_guard lock(rootMutex());
    auto& cached = cachedRoot();
    if (!cached) {
        const char* env = std::getenv("DV_PAL_ROOT");
        fs::path r = (env && *env) ? fs::path(env) : defaultRoot();
        ensureFolder(r, "sandbox root (DV_PAL_ROOT)", 0700);
        std::error_code ec;
        fs::path absolute = fs::absolute(r, ec).lexically_normal();
        if (ec)
            throw Error("cannot create the sandbox root (DV_PAL_ROOT) folder '" + r.string() +
                        "': " + ec.message());
        // A child started in another folder must find the same root.
        if (env && *env && r.is_relative())
            ::setenv("DV_PAL_ROOT", absolute.c_str(), 1);
        cached = std::move(absolute);
    }
    return *cached;
}

fs::path drive(wchar_t letter) {
    const wchar_t lower = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(letter)));
    fs::path d = root() / (std::string("drive_") + static_cast<char>(lower));
    ensureFolder(d, "drive");
    return d;
}

fs::path runDir() {
    fs::path d = root() / "run";
    ensureFolder(d, "run", 0700);
    return d;
}

void privateFolder(const fs::path& folder) {
    ensureFolder(folder, "private", 0700);
}

void reset() {
    std::lock_guard lock(rootMutex());
    cachedRoot().reset();
}

} // namespace pal::sandbox

namespace pal::folders {
namespace {

fs::path ensure(fs::path p) {
    std::error_code ec;
    fs::create_directories(p, ec);
    return p;
}

// The user's name from the environment, when it can only name one folder below Users: a name
// with a separator, a drive, nothing but dots or a character no file name may hold would put
// the user's folders somewhere else, so it gives way to a fixed name.
std::string userName() {
    const char* u = std::getenv("USER");
    const std::string name = u ? u : "";
    bool usable = !name.empty() && name.find_first_not_of('.') != std::string::npos;
    for (unsigned char c : name)
        if (c < 32 || std::strchr("\\/:*?\"<>|", c))
            usable = false;
    return usable ? name : "user";
}

fs::path usersFolder() {
    return sandbox::drive(L'C') / "Users"; // readable by all, as on the platform
}

// The user's own folders are private: made 0700 from Users\<name> down. The program made them
// at its start (sandbox::prepare); one taken away since is made again where it can be, and
// the caller finds out when it uses one that cannot.
fs::path profile(const fs::path& below) {
    const fs::path users = ensure(usersFolder());
    const fs::path folder = users / userName() / below;
    try {
        sandbox::privateFolder(folder);
    } catch (const sandbox::Error&) {
    }
    return folder;
}

// The profile folders every program may need, all made or none: a user name no folder can
// carry, or a file where a folder belongs, stops the program at its start.
const fs::path kProfileFolders[] = {fs::path("AppData") / "Roaming", fs::path("AppData") / "Local" / "Temp",
                                    "Documents"};

} // namespace

fs::path programFile() {
    std::error_code ec;
    fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : p;
}

fs::path programDir() {
    return programFile().parent_path();
}

fs::path roamingAppData() {
    return profile(fs::path("AppData") / "Roaming");
}
fs::path localAppData() {
    return profile(fs::path("AppData") / "Local");
}
fs::path commonAppData() {
    return ensure(sandbox::drive(L'C') / "ProgramData");
}
fs::path documents() {
    return profile("Documents");
}
fs::path temp() {
    return profile(fs::path("AppData") / "Local" / "Temp");
}
// The platform's own libraries that a Windows system folder holds from the start; they are built
// beside the programs. A test that wants another one in their place installs it over the copy.
constexpr const char* kSystemLibraries[] = {"mapi32.so"};
// Says that the libraries were put in: one removed later (by a person or a test) stays removed.
constexpr const char* kInstalledMark = ".system-libraries";

// Copies the system libraries the folder lacks from the program folder, each under a name of its
// own first so that no one loads half a library.
void installSystemLibraries(const fs::path& folder) {
    static std::atomic<unsigned> copies{0};
    std::error_code ec;
    const fs::path programs = programDir();
    for (const char* library : kSystemLibraries) {
        if (fs::exists(folder / library, ec) || !fs::is_regular_file(programs / library, ec))
            continue;
        const fs::path copying = folder / ("." + std::string(library) + "." + std::to_string(::getpid()) +
                                           "." + std::to_string(copies++) + ".tmp");
        if (fs::copy_file(programs / library, copying, ec))
            fs::rename(copying, folder / library, ec);
        fs::remove(copying, ec);
    }
    std::ofstream(folder / kInstalledMark);
}

// The folder is filled under a name of its own and renamed into place, so that no process sees a
// new system folder without its libraries. A folder made before the libraries were part of it
// gets them once.
fs::path system() {
    const fs::path windows = ensure(sandbox::drive(L'C') / "Windows");
    const fs::path folder = windows / "System32";
    std::error_code ec;
    if (fs::is_directory(folder, ec)) {
        if (!fs::exists(folder / kInstalledMark, ec))
            installSystemLibraries(folder);
        return folder;
    }
    static std::atomic<unsigned> made{0};
    const fs::path making =
        windows / (".System32." + std::to_string(::getpid()) + "." + std::to_string(made++) + ".tmp");
    fs::create_directories(making, ec);
    installSystemLibraries(making);
    fs::rename(making, folder, ec);
    if (ec) // made meanwhile by another process
        fs::remove_all(making, ec);
    return ensure(folder);
}

} // namespace pal::folders

namespace pal::sandbox {
namespace {

bool processGone(const std::string& pid) {
    if (pid.empty() || pid.size() > 9 || !std::all_of(pid.begin(), pid.end(), ::isdigit))
        return false;
    return ::kill(static_cast<pid_t>(std::stoi(pid)), 0) != 0 && errno == ESRCH;
}

// Whether a socket is left by a process that ended: connecting finds nobody listening.
bool nobodyListens(const fs::path& socket) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = socket.string();
    if (name.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    // Never waits: a live server with a full backlog answers EAGAIN, not a refusal.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    int r;
    do {
        r = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (r != 0 && errno == EINTR);
    const bool refused = r != 0 && errno == ECONNREFUSED;
    ::close(fd);
    return refused;
}

// The temporary files a process made are listed, one path a line, in "temp-<pid>" of the run
// folder, so that whoever finds the process gone knows what it left.
constexpr const char* kTemporaryList = "temp-";

// Removes the temporary files a list names (only files in the temporary folder), then the list.
void removeListedTemporaries(const fs::path& list) {
    const fs::path folder = folders::temp().lexically_normal();
    std::ifstream in(list);
    std::error_code ec;
    for (std::string line; std::getline(in, line);) {
        const fs::path file = fs::path(line).lexically_normal();
        if (file.parent_path() == folder && fs::is_regular_file(fs::symlink_status(file, ec)))
            fs::remove(file, ec);
    }
    fs::remove(list, ec);
}

struct Temporaries {
    std::mutex mutex;
    pid_t owner = 0; // a forked child inherits the list but owns none of its files
    fs::path list;
};
Temporaries& temporaries() {
    static Temporaries* t = new Temporaries;
    return *t;
}

void removeOwnTemporaries() {
    Temporaries& t = temporaries();
    std::lock_guard lock(t.mutex);
    if (t.owner == ::getpid() && !t.list.empty())
        removeListedTemporaries(t.list);
}

// The run folder's sockets left by processes that did not end cleanly: one named for a process
// that is gone ("drop-<pid>", ".new-<pid>-..." being bound), and an endpoint nobody listens on;
// and the temporary files such processes left.
void sweepRunFolder(const fs::path& run) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(run, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kTemporaryList, 0) == 0 && entry.is_regular_file(ec)) {
            if (processGone(name.substr(std::strlen(kTemporaryList))))
                removeListedTemporaries(entry.path());
            continue;
        }
        if (!entry.is_socket(ec))
            continue;
        bool stale = false;
        if (name.rfind("drop-", 0) == 0)
            stale = processGone(name.substr(5));
        else if (name.rfind(".new-", 0) == 0)
            stale = processGone(name.substr(5, name.find('-', 5) - 5));
        else
            stale = nobodyListens(entry.path());
        if (stale)
            fs::remove(entry.path(), ec);
    }
}

} // namespace

void ownTemporary(const fs::path& file) {
    if (file.lexically_normal().parent_path() != folders::temp().lexically_normal())
        return;
    Temporaries& t = temporaries();
    std::lock_guard lock(t.mutex);
    if (t.owner != ::getpid()) {
        t.owner = ::getpid();
        t.list = runDir() / (kTemporaryList + std::to_string(t.owner));
        // Registered after the root is known, so that the removal runs before the root goes.
        static std::once_flag registered;
        std::call_once(registered, [] { std::atexit(removeOwnTemporaries); });
    }
    std::ofstream(t.list, std::ios::app) << file.string() << '\n';
}

bool prepare(const char* program) noexcept {
    try {
        drive(L'C');
        sweepRunFolder(runDir());
        const fs::path users = folders::usersFolder();
        ensureFolder(users, "profile");
        for (const auto& below : folders::kProfileFolders)
            ensureFolder(users / folders::userName() / below, "profile", 0700);
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", program, e.what());
        return false;
    }
}

} // namespace pal::sandbox
