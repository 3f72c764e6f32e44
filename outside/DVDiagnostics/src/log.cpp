#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/DVLogOpen.h"
#include "DVDiagnostics/detail/capture.h"

#include "pal/format.h"
#include "pal/notice.h"
#include "pal/path.h"
#include "pal/sandbox.h"
#include "pal/text.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/syscall.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr size_t kCaptureLimit = 10000;
constexpr auto kLockTimeout = std::chrono::seconds(10);

struct LogState {
    std::recursive_timed_mutex mutex;
    std::deque<dvlog::detail::Line> capture;
    // The file follows the sandbox: a test that switches roots gets a new file in the new root.
    fs::path root;
    fs::path file;
    std::FILE* stream = nullptr;
};

LogState& state() {
    static LogState* s = new LogState; // never destroyed: logging may run during static destruction
    return *s;
}

fs::path logFolder() {
    return pal::folders::localAppData() / "Dravik" / "Logs";
}

std::string timestamp(const char* pattern) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    std::strftime(buf, sizeof buf, pattern, &tm);
    return buf;
}

// The file of this process in the current sandbox; chosen once per root. Called with the lock held.
const fs::path& currentFile(LogState& s) {
    std::error_code ec;
    const fs::path& root = pal::sandbox::root();
    if (s.file.empty() || root != s.root) {
        if (s.stream) {
            std::fclose(s.stream);
            s.stream = nullptr;
        }
        s.root = root;
        std::string program = pal::folders::programFile().stem().string();
        if (program.empty())
            program = "process";
        s.file = logFolder() /
                 (program + "-" + timestamp("%Y%m%d-%H%M%S") + "-" + std::to_string(::getpid()) + ".log");
    }
    return s.file;
}

// Opens the file of the current sandbox when it is not open yet; why it cannot, else empty.
// Called with the lock held.
std::string openStream(LogState& s) {
    const fs::path& file = currentFile(s);
    if (s.stream)
        return {};
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    // The log may hold names and paths of the user's work: it is the user's alone.
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    const int error = errno;
    s.stream = fd < 0 ? nullptr : ::fdopen(fd, "ab");
    if (s.stream)
        return {};
    if (fd >= 0)
        ::close(fd);
    return "cannot create the log file '" + file.string() +
           "': " + (ec ? ec.message() : std::generic_category().message(fd < 0 ? error : errno));
}

void write(int level, std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    if (s.capture.size() == kCaptureLimit)
        s.capture.pop_front();
    s.capture.push_back({level, text});

    try {
        if (!openStream(s).empty())
            return; // the capture still has the line; a log must never stop the program
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count() %
                        1000;
        char prefix[96];
        std::snprintf(prefix, sizeof prefix, "%s.%03lld [%ld:%ld] <%d> ",
                      timestamp("%Y-%m-%d %H:%M:%S").c_str(), static_cast<long long>(ms),
                      static_cast<long>(::getpid()), static_cast<long>(::syscall(SYS_gettid)), level);
        std::fputs(prefix, s.stream);
        std::fwrite(text.data(), 1, text.size(), s.stream);
        std::fputc('\n', s.stream);
        std::fflush(s.stream);
    } catch (const std::exception&) {
        // No sandbox root: keep the capture only.
    }
}

// What the platform layers tell the user goes into the log as a warning as well.
[[maybe_unused]] const bool noticesLogged = [] {
    pal::notice::setSink([](const std::string& line) { write(6, line); });
    return true;
}();

} // namespace

void DVLog_WriteV(int level, const char* format, va_list args) {
    write(level, format ? pal::vformat(format, args) : std::string());
}

void DVLog_Write(int level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    DVLog_WriteV(level, format, args);
    va_end(args);
}

void DVLog_WriteWV(int level, const wchar_t* format, va_list args) {
    write(level, format ? pal::text::toUtf8(pal::vformat(format, args)) : std::string());
}

bool DVLog_Lock() {
    return state().mutex.try_lock_for(kLockTimeout);
}

void DVLog_Unlock() {
    state().mutex.unlock();
}

bool DVLog_Open(std::string& why) {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    try {
        why = openStream(s);
    } catch (const std::exception& e) {
        why = e.what();
    }
    return why.empty();
}

std::wstring DVLog_GetFileName() {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    try {
        return pal::path::fromNative(currentFile(s));
    } catch (const std::exception&) {
        return {};
    }
}

bool DVLog_FileExists() {
    const std::wstring name = DVLog_GetFileName();
    std::error_code ec;
    return !name.empty() && fs::is_regular_file(pal::path::toNative(name), ec);
}

void DVLog_Cleanup(int days) {
    if (days < 0)
        return;
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    try {
        const fs::path own = currentFile(s);
        const auto limit = fs::file_time_type::clock::now() - std::chrono::hours(24) * days;
        std::error_code ec;
        for (fs::directory_iterator it(logFolder(), ec), end; !ec && it != end; it.increment(ec)) {
            const fs::path& p = it->path();
            if (p.extension() != ".log" || p == own || !it->is_regular_file(ec))
                continue;
            const auto written = fs::last_write_time(p, ec);
            if (!ec && written < limit)
                fs::remove(p, ec);
        }
    } catch (const std::exception&) {
    }
}

namespace dvlog::detail {

std::vector<Line> captured() {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    return {s.capture.begin(), s.capture.end()};
}

void clearCapture() {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    s.capture.clear();
}

} // namespace dvlog::detail
