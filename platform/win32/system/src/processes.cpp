// Child processes over posix_spawn, process objects on the wait hub, and pipes.
#include "win/system/file.h"
#include "win/system/process.h"

#include "file_object.h"
#include "pal/binaries.h"
#include "pal/cmdline.h"
#include "pal/path.h"
#include "pal/text.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// How a child learns the exact command line its parent gave (the argument vector alone loses
// the spacing and quoting).
constexpr const char* kCommandLineVariable = "DV_PAL_CMDLINE";

bool fail(DWORD error) {
    SetLastError(error);
    return false;
}

// ---------------------------------------------------------------------------------------------
// /proc facts about a process.

struct ProcStat {
    char state = '?';
    unsigned long long startTicks = 0;
    unsigned long long userTicks = 0;
    unsigned long long kernelTicks = 0;
};

std::optional<ProcStat> readProcStat(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line))
        return std::nullopt;
    // The name in parentheses may hold blanks; fields are counted after its closing bracket.
    const size_t close = line.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(line.substr(close + 2));
    std::vector<std::string> f;
    for (std::string x; fields >> x;)
        f.push_back(x);
    if (f.size() < 20)
        return std::nullopt;
    ProcStat s;
    s.state = f[0].empty() ? '?' : f[0][0];
    s.userTicks = std::stoull(f[11]);
    s.kernelTicks = std::stoull(f[12]);
    s.startTicks = std::stoull(f[19]);
    return s;
}

unsigned long long bootSeconds() {
    static const unsigned long long boot = [] {
        std::ifstream in("/proc/stat");
        for (std::string key; in >> key;) {
            if (key == "btime") {
                unsigned long long v = 0;
                in >> v;
                return v;
            }
        }
        return 0ULL;
    }();
    return boot;
}

FILETIME ticksSinceBoot(unsigned long long ticks) {
    const long hz = ::sysconf(_SC_CLK_TCK);
    return pal::sys::toFileTime(static_cast<std::int64_t>(bootSeconds() + ticks / hz),
                                static_cast<long>((ticks % hz) * (1'000'000'000 / hz)));
}

FILETIME duration100ns(unsigned long long v) {
    return FILETIME{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
}

FILETIME nowFileTime() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return pal::sys::toFileTime(ts.tv_sec, ts.tv_nsec);
}

// ---------------------------------------------------------------------------------------------
// Process objects.

struct ProcessState {
    pid_t pid = 0;
    bool child = false;                // reaped by this process
    unsigned long long startTicks = 0; // tells a reused pid from the process
    fs::path image;
    // Under the hub's mutex:
    bool exited = false;
    DWORD exitCode = STILL_ACTIVE;
    std::optional<DWORD> terminateCode;
    FILETIME exitTime{};
    FILETIME kernelTime{};
    FILETIME userTime{};

    // For processes this one did not start: true once it is gone.
    bool pollGone() {
        const auto s = readProcStat(pid);
        if (!s || s->state == 'Z' || s->state == 'X' || s->startTicks != startTicks) {
            exited = true;
            if (terminateCode)
                exitCode = *terminateCode;
            exitTime = nowFileTime();
        }
        return exited;
    }
};

class ProcessObject : public pal::KernelObject {
public:
    ProcessObject(std::shared_ptr<ProcessState> state, pal::ObjectKind kind)
        : state(std::move(state)), kind_(kind) {}
    pal::ObjectKind kind() const override { return kind_; }
    bool isWaitable() const override { return true; }
    bool tryAcquire(DWORD) override { return state->exited || (!state->child && state->pollGone()); }
    DWORD pollIntervalMs() const override { return state->child ? 0 : 50; }
    std::shared_ptr<ProcessState> state;

private:
    pal::ObjectKind kind_;
};

// Children by pid, so OpenProcess on a child shares what its reaper learns.
struct Children {
    std::mutex mutex;
    std::map<pid_t, std::weak_ptr<ProcessState>> byPid;
};
Children& children() {
    static Children* c = new Children;
    return *c;
}

void startReaper(std::shared_ptr<ProcessState> state) {
    std::thread([state] {
        int status = 0;
        rusage usage{};
        while (::wait4(state->pid, &status, 0, &usage) < 0 && errno == EINTR) {
        }
        {
            std::lock_guard lock(pal::wait::hubMutex());
            state->exited = true;
            if (WIFEXITED(status))
                state->exitCode = static_cast<DWORD>(WEXITSTATUS(status));
            else if (state->terminateCode)
                state->exitCode = *state->terminateCode;
            else
                state->exitCode = 128 + static_cast<DWORD>(WTERMSIG(status));
            state->exitTime = nowFileTime();
            auto tv100 = [](const timeval& tv) {
                return static_cast<unsigned long long>(tv.tv_sec) * 10'000'000ULL +
                       static_cast<unsigned long long>(tv.tv_usec) * 10ULL;
            };
            state->userTime = duration100ns(tv100(usage.ru_utime));
            state->kernelTime = duration100ns(tv100(usage.ru_stime));
        }
        pal::wait::notifyAll();
        auto& c = children();
        std::lock_guard lock(c.mutex);
        c.byPid.erase(state->pid);
    }).detach();
}

bool isCurrentProcess(HANDLE h) {
    return h == GetCurrentProcess();
}

std::shared_ptr<ProcessState> stateOf(HANDLE h) {
    if (isCurrentProcess(h)) {
        auto self = std::make_shared<ProcessState>();
        self->pid = ::getpid();
        if (const auto s = readProcStat(self->pid))
            self->startTicks = s->startTicks;
        self->image = pal::folders::programFile();
        return self;
    }
    auto object = pal::handles::getAs<ProcessObject>(h);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return object->state;
}

// ---------------------------------------------------------------------------------------------
// Starting.

// The file of the program a command names.
fs::path resolveProgram(const std::wstring& name) {
    fs::path found = pal::binaries::find(name, {pal::folders::programDir(), pal::folders::system()});
    if (!found.empty() || name.find_first_of(L"\\/") != std::wstring::npos)
        return found;
    // Programs of the system itself, found along PATH.
    const fs::path native = pal::binaries::nativeName(name);
    const char* pathVar = std::getenv("PATH");
    std::string_view rest(pathVar ? pathVar : "");
    while (!rest.empty()) {
        const size_t colon = rest.find(':');
        const std::string folder(rest.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        const fs::path candidate = fs::path(folder.empty() ? "." : folder) / native;
        if (::access(candidate.c_str(), X_OK) == 0 && !fs::is_directory(candidate))
            return candidate;
    }
    return {};
}

std::vector<std::string> environmentFrom(LPVOID block, bool wide) {
    std::vector<std::string> env;
    if (!block) {
        for (char** e = environ; *e; ++e)
            env.emplace_back(*e);
        return env;
    }
    if (wide) {
        for (auto* p = static_cast<const wchar_t*>(block); *p; p += std::wcslen(p) + 1)
            env.push_back(pal::text::toUtf8(p));
    } else {
        for (auto* p = static_cast<const char*>(block); *p; p += std::strlen(p) + 1)
            env.emplace_back(p);
    }
    return env;
}

DWORD spawnError(int error) {
    switch (error) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOEXEC:
        return ERROR_BAD_EXE_FORMAT;
    case ENOTDIR:
        return ERROR_DIRECTORY;
    default:
        return pal::sys::errorFromErrno(error);
    }
}

// Handle flags of SetHandleInformation, by handle.
struct HandleFlags {
    std::mutex mutex;
    std::map<HANDLE, DWORD> flags;
};
HandleFlags& handleFlags() {
    static HandleFlags* f = new HandleFlags;
    return *f;
}

} // namespace

void pal::sys::setHandleFlags(HANDLE handle, DWORD flags) {
    auto& f = handleFlags();
    std::lock_guard lock(f.mutex);
    f.flags[handle] = flags;
}

BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                    BOOL, DWORD creationFlags, LPVOID environment, LPCWSTR currentDirectory,
                    LPSTARTUPINFOW startupInfo, LPPROCESS_INFORMATION info) {
    if (!info || (!applicationName && (!commandLine || !*commandLine)))
        return fail(ERROR_INVALID_PARAMETER);
    if (creationFlags & (CREATE_SUSPENDED | DEBUG_PROCESS))
        return fail(ERROR_NOT_SUPPORTED);
    const std::wstring line = commandLine && *commandLine
                                  ? std::wstring(commandLine)
                                  : pal::cmdline::join({std::wstring(applicationName)});
    const std::vector<std::wstring> argv = pal::cmdline::split(line);
    const fs::path program = resolveProgram(applicationName ? std::wstring(applicationName) : argv.at(0));
    if (program.empty())
        return fail(ERROR_FILE_NOT_FOUND);
    if (::access(program.c_str(), X_OK) != 0)
        return fail(ERROR_ACCESS_DENIED);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    struct Cleanup {
        posix_spawn_file_actions_t* a;
        posix_spawnattr_t* b;
        ~Cleanup() {
            posix_spawn_file_actions_destroy(a);
            posix_spawnattr_destroy(b);
        }
    } cleanup{&actions, &attributes};

    // The child starts with no signals blocked and SIGPIPE at its default, whatever this thread holds.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    // Keeps the standard handles' objects alive until the child has its copies.
    std::vector<std::shared_ptr<pal::sys::FileObject>> redirected;
    if (startupInfo && (startupInfo->dwFlags & STARTF_USESTDHANDLES)) {
        const HANDLE std[3] = {startupInfo->hStdInput, startupInfo->hStdOutput, startupInfo->hStdError};
        for (int fd = 0; fd < 3; ++fd) {
            if (!std[fd] || std[fd] == INVALID_HANDLE_VALUE)
                continue;
            auto file = pal::sys::fileFromHandle(std[fd]);
            if (!file)
                return FALSE;
            posix_spawn_file_actions_adddup2(&actions, file->fd(), fd);
            redirected.push_back(std::move(file));
        }
    }
    if (currentDirectory && *currentDirectory) {
        const fs::path folder = pal::path::toNative(currentDirectory);
        std::error_code ec;
        if (!fs::is_directory(folder, ec))
            return fail(ERROR_DIRECTORY);
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    }

    std::vector<std::string> args;
    for (const auto& a : argv)
        args.push_back(pal::text::toUtf8(a));
    std::vector<std::string> env = environmentFrom(environment, creationFlags & CREATE_UNICODE_ENVIRONMENT);
    // A relative sandbox root would name another folder from the child's current folder.
    for (auto& e : env) {
        constexpr std::string_view kRoot = "DV_PAL_ROOT=";
        if (e.starts_with(kRoot) && e.size() > kRoot.size() &&
            fs::path(e.substr(kRoot.size())).is_relative()) {
            std::error_code ec;
            const fs::path absolute = fs::absolute(e.substr(kRoot.size()), ec).lexically_normal();
            if (!ec)
                e = std::string(kRoot) + absolute.string();
        }
    }
    std::erase_if(
        env, [](const std::string& e) { return e.starts_with(std::string(kCommandLineVariable) + "="); });
    env.push_back(std::string(kCommandLineVariable) + "=" + pal::text::toUtf8(line));
    std::vector<char*> argp, envp;
    for (auto& a : args)
        argp.push_back(a.data());
    argp.push_back(nullptr);
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    if (const int rc = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argp.data(), envp.data());
        rc != 0)
        return fail(spawnError(rc));

    auto state = std::make_shared<ProcessState>();
    state->pid = pid;
    state->child = true;
    state->image = program;
    if (const auto s = readProcStat(pid)) // still there: it is reaped only by the thread started below
        state->startTicks = s->startTicks;
    {
        auto& c = children();
        std::lock_guard lock(c.mutex);
        c.byPid[pid] = state;
    }
    startReaper(state);
    info->hProcess = pal::handles::insert(std::make_shared<ProcessObject>(state, pal::ObjectKind::Process));
    info->hThread = pal::handles::insert(std::make_shared<ProcessObject>(state, pal::ObjectKind::Thread));
    info->dwProcessId = static_cast<DWORD>(pid);
    info->dwThreadId = static_cast<DWORD>(pid); // the main thread's id is the process's
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
    if (!exitCode)
        return fail(ERROR_INVALID_PARAMETER);
    auto state = stateOf(process);
    if (!state)
        return FALSE;
    std::lock_guard lock(pal::wait::hubMutex());
    if (!state->child && !state->exited && state->pid != ::getpid())
        state->pollGone();
    *exitCode = state->exited ? state->exitCode : STILL_ACTIVE;
    return TRUE;
}

BOOL TerminateProcess(HANDLE process, UINT exitCode) {
    auto state = stateOf(process);
    if (!state)
        return FALSE;
    if (state->pid == ::getpid())
        ::_exit(static_cast<int>(exitCode));
    {
        std::lock_guard lock(pal::wait::hubMutex());
        if (state->exited || (!state->child && state->pollGone()))
            return fail(ERROR_ACCESS_DENIED);
        state->terminateCode = exitCode;
    }
    if (::kill(state->pid, SIGKILL) != 0)
        return fail(pal::sys::errorFromErrno(errno));
    return TRUE;
}

HANDLE OpenProcess(DWORD, BOOL, DWORD processId) {
    const auto pid = static_cast<pid_t>(processId);
    std::shared_ptr<ProcessState> state;
    {
        auto& c = children();
        std::lock_guard lock(c.mutex);
        if (const auto it = c.byPid.find(pid); it != c.byPid.end())
            state = it->second.lock();
    }
    if (!state) {
        const auto s = processId ? readProcStat(pid) : std::nullopt;
        if (!s || s->state == 'Z' || s->state == 'X') {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        state = std::make_shared<ProcessState>();
        state->pid = pid;
        state->startTicks = s->startTicks;
        std::error_code ec;
        state->image = fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec);
    }
    return pal::handles::insert(std::make_shared<ProcessObject>(state, pal::ObjectKind::Process));
}

DWORD GetProcessId(HANDLE process) {
    auto state = stateOf(process);
    return state ? static_cast<DWORD>(state->pid) : 0;
}

BOOL GetProcessTimes(HANDLE process, LPFILETIME creation, LPFILETIME exit, LPFILETIME kernel,
                     LPFILETIME user) {
    auto state = stateOf(process);
    if (!state)
        return FALSE;
    if (creation)
        *creation = ticksSinceBoot(state->startTicks);
    std::lock_guard lock(pal::wait::hubMutex());
    const bool exited = state->exited;
    if (exit)
        *exit = exited ? state->exitTime : FILETIME{};
    std::optional<ProcStat> now = exited ? std::nullopt : readProcStat(state->pid);
    const long hz = ::sysconf(_SC_CLK_TCK);
    if (kernel)
        *kernel = now ? duration100ns(now->kernelTicks * 10'000'000ULL / hz) : state->kernelTime;
    if (user)
        *user = now ? duration100ns(now->userTicks * 10'000'000ULL / hz) : state->userTime;
    return TRUE;
}

BOOL QueryFullProcessImageNameW(HANDLE process, DWORD, LPWSTR exeName, PDWORD size) {
    if (!exeName || !size)
        return fail(ERROR_INVALID_PARAMETER);
    auto state = stateOf(process);
    if (!state)
        return FALSE;
    const std::wstring image = pal::path::fromNative(state->image);
    if (image.empty())
        return fail(ERROR_ACCESS_DENIED);
    if (*size <= image.size())
        return fail(ERROR_INSUFFICIENT_BUFFER);
    std::copy(image.begin(), image.end(), exeName);
    exeName[image.size()] = L'\0';
    *size = static_cast<DWORD>(image.size());
    return TRUE;
}

namespace {

struct ThisCommandLine {
    std::wstring line;
    bool given = false; // the parent's own line, not one rebuilt from the arguments
};

ThisCommandLine& thisCommandLine() {
    static ThisCommandLine self = [] {
        std::vector<std::wstring> argv;
        std::ifstream in("/proc/self/cmdline", std::ios::binary);
        for (std::string arg; std::getline(in, arg, '\0');)
            argv.push_back(pal::text::fromUtf8(arg));
        // The parent's exact line, when it is the line of these arguments (and not one this
        // process merely inherited in its environment).
        if (const char* given = std::getenv(kCommandLineVariable); given) {
            std::wstring w = pal::text::fromUtf8(given);
            if (pal::cmdline::split(w) == argv)
                return ThisCommandLine{std::move(w), true};
        }
        return ThisCommandLine{pal::cmdline::join(argv), false};
    }();
    return self;
}

} // namespace

LPWSTR GetCommandLineW() {
    return thisCommandLine().line.data();
}

bool pal::cmdline::givenByParent() {
    return thisCommandLine().given;
}

LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, int* count) {
    if (!count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<std::wstring> argv;
    if (!commandLine || !*commandLine)
        argv.push_back(pal::text::fromUtf8(pal::folders::programFile().string()));
    else
        argv = pal::cmdline::split(commandLine);
    // One block: the pointer array, then the strings, as the platform hands it out.
    size_t bytes = (argv.size() + 1) * sizeof(LPWSTR);
    for (const auto& a : argv)
        bytes += (a.size() + 1) * sizeof(wchar_t);
    auto* block = static_cast<LPWSTR*>(LocalAlloc(LPTR, bytes));
    if (!block) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto* text = reinterpret_cast<wchar_t*>(block + argv.size() + 1);
    for (size_t i = 0; i < argv.size(); ++i) {
        block[i] = text;
        std::copy(argv[i].begin(), argv[i].end(), text);
        text[argv[i].size()] = L'\0';
        text += argv[i].size() + 1;
    }
    block[argv.size()] = nullptr;
    *count = static_cast<int>(argv.size());
    return block;
}

void GetStartupInfoW(LPSTARTUPINFOW startupInfo) {
    if (!startupInfo)
        return;
    *startupInfo = STARTUPINFOW{};
    startupInfo->cb = sizeof(STARTUPINFOW);
}

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    void* p = (flags & LMEM_ZEROINIT) ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1);
    if (!p)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return p;
}

HLOCAL LocalFree(HLOCAL memory) {
    std::free(memory);
    return nullptr;
}

BOOL CreatePipe(PHANDLE readPipe, PHANDLE writePipe, LPSECURITY_ATTRIBUTES attributes, DWORD size) {
    if (!readPipe || !writePipe)
        return fail(ERROR_INVALID_PARAMETER);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return fail(pal::sys::errorFromErrno(errno));
    if (size > 0)
        ::fcntl(fds[1], F_SETPIPE_SZ, static_cast<int>(size)); // a hint; the default stands on failure
    *readPipe = pal::handles::insert(
        std::make_shared<pal::sys::FileObject>(fds[0], pal::ObjectKind::Pipe, true, false));
    *writePipe = pal::handles::insert(
        std::make_shared<pal::sys::FileObject>(fds[1], pal::ObjectKind::Pipe, false, true));
    if (attributes && attributes->bInheritHandle) {
        pal::sys::setHandleFlags(*readPipe, HANDLE_FLAG_INHERIT);
        pal::sys::setHandleFlags(*writePipe, HANDLE_FLAG_INHERIT);
    }
    return TRUE;
}

BOOL SetHandleInformation(HANDLE object, DWORD mask, DWORD flags) {
    if (!pal::handles::get(object))
        return FALSE;
    auto& f = handleFlags();
    std::lock_guard lock(f.mutex);
    DWORD& current = f.flags[object];
    current = (current & ~mask) | (flags & mask);
    return TRUE;
}

BOOL GetHandleInformation(HANDLE object, LPDWORD flags) {
    if (!flags)
        return fail(ERROR_INVALID_PARAMETER);
    if (!pal::handles::get(object))
        return FALSE;
    auto& f = handleFlags();
    std::lock_guard lock(f.mutex);
    const auto it = f.flags.find(object);
    *flags = it == f.flags.end() ? 0 : it->second;
    return TRUE;
}
