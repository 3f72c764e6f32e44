#include "pal/atomic_file.h"

#include "pal/detail/control.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pal {
namespace {

struct Injection {
    std::mutex mutex;
    bool armed = false;
    detail::WriteStep step{};
    int error = 0;
};

Injection& injection() {
    static Injection* i = new Injection;
    return *i;
}

// True (with errno set) when a test asked this step of the next write to fail.
bool injected(detail::WriteStep step) {
    auto& i = injection();
    std::lock_guard lock(i.mutex);
    if (!i.armed || i.step != step)
        return false;
    i.armed = false;
    errno = i.error;
    return true;
}

WriteOutcome failure(const char* what, const fs::path& file) {
    WriteOutcome r;
    r.error = errno;
    r.message = std::string("cannot ") + what + " '" + file.string() + "': " + std::strerror(r.error);
    return r;
}

bool writeAll(int fd, std::string_view bytes) {
    if (injected(detail::WriteStep::Write))
        return false;
    const char* p = bytes.data();
    size_t left = bytes.size();
    if (left > 0 && injected(detail::WriteStep::DiskFull)) {
        // Half the bytes reach the disk, then it is full.
        const size_t half = left / 2;
        if (half && ::write(fd, p, half) < 0)
            return false;
        errno = ENOSPC;
        return false;
    }
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

void syncFolder(const fs::path& folder) {
    const int dfd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

// The previous good file becomes "<name>.bak" through a hard link renamed into place, so
// the target itself is never absent.
void keepBackup(const fs::path& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    const fs::path bak = fs::path(target.string() + ".bak");
    const fs::path bakTmp = fs::path(target.string() + ".bak.tmp");
    ::unlink(bakTmp.c_str());
    if (::link(target.c_str(), bakTmp.c_str()) == 0) {
        // rename() between two links of one file succeeds and does nothing, so the
        // temporary name is removed in every case.
        ::rename(bakTmp.c_str(), bak.c_str());
        ::unlink(bakTmp.c_str());
        return;
    }
    std::error_code ec; // file systems without hard links: a copy
    fs::copy_file(target, bak, fs::copy_options::overwrite_existing, ec);
}

} // namespace

WriteOutcome writeFileAtomically(const fs::path& target, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = target.parent_path();
    const fs::path tmp = folder / ("." + target.filename().string() + ".tmp." + std::to_string(getpid()) +
                                   "." + std::to_string(counter++));

    const int fd = injected(detail::WriteStep::Open)
                       ? -1
                       : ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return failure("create a temporary file for", target);

    // The replacement keeps the old file's permissions: a private file stays private.
    if (struct stat old{};
        ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode) && ::fchmod(fd, old.st_mode & 07777) != 0) {
        WriteOutcome r = failure("keep the permissions of", target);
        ::close(fd);
        ::unlink(tmp.c_str());
        return r;
    }

    if (!writeAll(fd, bytes)) {
        WriteOutcome r = failure("write", target);
        ::close(fd);
        ::unlink(tmp.c_str());
        return r;
    }
    if (injected(detail::WriteStep::Fsync) || ::fsync(fd) != 0) {
        WriteOutcome r = failure("flush", target);
        ::close(fd);
        ::unlink(tmp.c_str());
        return r;
    }
    ::close(fd);

    keepBackup(target);
    if (injected(detail::WriteStep::Rename) || ::rename(tmp.c_str(), target.c_str()) != 0) {
        WriteOutcome r = failure("replace", target);
        ::unlink(tmp.c_str());
        return r;
    }
    syncFolder(folder);
    WriteOutcome ok;
    ok.ok = true;
    return ok;
}

fs::path setAsideBadFile(const fs::path& file) {
    const fs::path aside = fs::path(file.string() + ".bad");
    if (::rename(file.c_str(), aside.c_str()) != 0)
        return {};
    syncFolder(file.parent_path());
    return aside;
}

} // namespace pal

namespace pal::detail {

void injectWriteFailure(WriteStep step, int error) {
    auto& i = injection();
    std::lock_guard lock(i.mutex);
    i.armed = true;
    i.step = step;
    i.error = error;
}

void clearWriteFailure() {
    auto& i = injection();
    std::lock_guard lock(i.mutex);
    i.armed = false;
}

} // namespace pal::detail
