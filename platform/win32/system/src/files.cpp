// CreateFileW and the handle-based file functions; the standard handles.
#include "win/system/file.h"

#include "file_object.h"
#include "pal/path.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <sys/stat.h>
#include <time.h>

namespace fs = std::filesystem;

namespace pal::sys {

DWORD errorFromErrno(int error) {
    switch (error) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case EPIPE:
        return ERROR_NO_DATA;
    case ESPIPE:
        return ERROR_INVALID_FUNCTION;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    default:
        return ERROR_ACCESS_DENIED;
    }
}

DWORD errorForMissing(const fs::path& path) {
    std::error_code ec;
    const fs::path parent = path.parent_path();
    return parent.empty() || fs::is_directory(parent, ec) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

bool toNativeChecked(const wchar_t* path, fs::path& out, bool wildcards) {
    if (!path || !*path) {
        SetLastError(path ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return false;
    }
    std::wstring_view p(path);
    if (p.starts_with(L"\\\\?\\") || p.starts_with(L"\\\\.\\"))
        p.remove_prefix(4);
    if (p.size() >= 2 && p[1] == L':')
        p.remove_prefix(2);
    for (wchar_t c : p) {
        const bool wildcard = c == L'*' || c == L'?';
        if ((wildcard && !wildcards) || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'|' ||
            (c > 0 && c < 32)) {
            SetLastError(ERROR_INVALID_NAME);
            return false;
        }
    }
    std::uint32_t error = 0;
    out = path::toNative(path, error);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return false;
    }
    return true;
}

FILETIME toFileTime(std::int64_t seconds, long nanoseconds) {
    const auto v = static_cast<std::uint64_t>(seconds + 11644473600LL) * 10'000'000ULL +
                   static_cast<std::uint64_t>(nanoseconds) / 100;
    return FILETIME{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
}

namespace {

// Standard handles wrap descriptors 0-2 without owning them.
struct StdHandles {
    std::mutex mutex;
    HANDLE handles[3] = {};
};
StdHandles& stdHandles() {
    static StdHandles* s = new StdHandles;
    return *s;
}

} // namespace

std::shared_ptr<FileObject> fileFromHandle(HANDLE handle) {
    auto file = handles::getAs<FileObject>(handle);
    if (!file)
        SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

} // namespace pal::sys

using pal::sys::fileFromHandle;
using pal::sys::FileObject;

namespace {

// The file behind `handle` when it was opened for reading (or for writing), else null with
// ERROR_ACCESS_DENIED.
std::shared_ptr<FileObject> fileOpenedFor(HANDLE handle, bool write) {
    auto file = fileFromHandle(handle);
    if (file && !(write ? file->canWrite() : file->canRead())) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return file;
}

// The file behind `handle` for a transfer of `bytes` through `buffer`, with the checks ReadFile
// and WriteFile share.
std::shared_ptr<FileObject> transferFile(HANDLE handle, const void* buffer, DWORD bytes, bool write) {
    auto file = fileOpenedFor(handle, write);
    if (file && !buffer && bytes) {
        SetLastError(ERROR_NOACCESS);
        return nullptr;
    }
    return file;
}

// Where an OVERLAPPED says the transfer starts; -1 for the file pointer.
off_t startOf(const OVERLAPPED* overlapped) {
    return overlapped ? static_cast<off_t>((std::uint64_t{overlapped->OffsetHigh} << 32) | overlapped->Offset)
                      : -1;
}

} // namespace

HANDLE GetStdHandle(DWORD which) {
    if (which < STD_ERROR_HANDLE || which > STD_INPUT_HANDLE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const int fd = static_cast<int>(STD_INPUT_HANDLE - which);
    auto& s = pal::sys::stdHandles();
    std::lock_guard lock(s.mutex);
    if (!s.handles[fd] || !pal::handles::get(s.handles[fd])) {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return nullptr; // no such standard handle
        const auto kind = S_ISFIFO(st.st_mode) ? pal::ObjectKind::Pipe : pal::ObjectKind::File;
        s.handles[fd] = pal::handles::insert(std::make_shared<FileObject>(fd, kind, fd == 0, fd != 0, false));
    }
    return s.handles[fd];
}

HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                   DWORD flags, HANDLE) {
    fs::path native;
    if (!pal::sys::toNativeChecked(path, native))
        return INVALID_HANDLE_VALUE;
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const bool wantRead = access & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA);
    const bool wantWrite = access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA);
    const bool appendOnly =
        (access & FILE_APPEND_DATA) && !(access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA));
    struct stat st {};
    const bool exists = ::stat(native.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        if (!(flags & FILE_FLAG_BACKUP_SEMANTICS) || disposition == CREATE_NEW ||
            disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING) {
            SetLastError(disposition == CREATE_NEW ? ERROR_FILE_EXISTS : ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        const int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            SetLastError(pal::sys::errorFromErrno(errno));
            return INVALID_HANDLE_VALUE;
        }
        SetLastError(disposition == OPEN_ALWAYS ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
        return pal::handles::insert(std::make_shared<FileObject>(fd, pal::ObjectKind::File, false, false));
    }
    if (exists && disposition == CREATE_NEW) {
        SetLastError(ERROR_FILE_EXISTS);
        return INVALID_HANDLE_VALUE;
    }
    if (!exists && (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING)) {
        SetLastError(pal::sys::errorForMissing(native));
        return INVALID_HANDLE_VALUE;
    }
    if (disposition == TRUNCATE_EXISTING && !wantWrite) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    // The platform refuses to write a read-only file even to an administrator.
    const bool truncates = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    if (exists && !(st.st_mode & S_IWUSR) && (wantWrite || truncates)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    int oflags = O_CLOEXEC;
    oflags |= wantWrite ? (wantRead ? O_RDWR : O_WRONLY) : O_RDONLY;
    if (appendOnly)
        oflags |= O_APPEND;
    if (disposition == CREATE_NEW)
        oflags |= O_CREAT | O_EXCL;
    else if (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS)
        oflags |= O_CREAT;
    if (truncates)
        oflags |= O_TRUNC;
    if (flags & FILE_FLAG_WRITE_THROUGH)
        oflags |= O_DSYNC;
    if (truncates && !wantWrite) // truncation needs a writable descriptor
        oflags = (oflags & ~O_RDONLY) | O_RDWR;
    const int fd = ::open(native.c_str(), oflags, 0666);
    if (fd < 0) {
        const int e = errno;
        SetLastError(e == ENOENT   ? pal::sys::errorForMissing(native)
                     : e == EEXIST ? ERROR_FILE_EXISTS
                                   : pal::sys::errorFromErrno(e));
        return INVALID_HANDLE_VALUE;
    }
    if (!exists && (flags & FILE_ATTRIBUTE_READONLY))
        ::fchmod(fd, 0444);
    auto file = std::make_shared<FileObject>(fd, pal::ObjectKind::File, wantRead, wantWrite);
    if (flags & FILE_FLAG_DELETE_ON_CLOSE)
        file->deleteOnClose = native;
    const HANDLE h = pal::handles::insert(std::move(file));
    if (security && security->bInheritHandle)
        pal::sys::setHandleFlags(h, 1);
    SetLastError(exists && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) ? ERROR_ALREADY_EXISTS
                                                                                        : ERROR_SUCCESS);
    return h;
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
    if (read)
        *read = 0;
    auto file = transferFile(handle, buffer, toRead, false);
    if (!file)
        return FALSE;
    auto* p = static_cast<char*>(buffer);
    const bool isPipe = file->kind() == pal::ObjectKind::Pipe;
    const off_t offset = startOf(overlapped);
    DWORD done = 0;
    while (done < toRead) {
        const ssize_t n = offset >= 0 ? ::pread(file->fd(), p + done, toRead - done, offset + done)
                                      : ::read(file->fd(), p + done, toRead - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            if (read)
                *read = done;
            SetLastError(pal::sys::errorFromErrno(errno));
            return FALSE;
        }
        if (n == 0) {
            if (isPipe && done == 0) {
                // Every write end is closed: the platform reports a broken pipe.
                SetLastError(ERROR_BROKEN_PIPE);
                return FALSE;
            }
            break;
        }
        done += static_cast<DWORD>(n);
        if (isPipe)
            break; // a pipe read returns what has arrived
    }
    if (read)
        *read = done;
    if (overlapped) {
        overlapped->Internal = 0;
        overlapped->InternalHigh = done;
    }
    return TRUE;
}

namespace {

// Writes with SIGPIPE held back on this thread, so a closed reader gives EPIPE and no signal
// ends the process; a SIGPIPE raised by the write is taken before the mask is restored.
ssize_t writeWithoutSigpipe(int fd, const char* p, size_t n, off_t offset) {
    sigset_t pipeSet, old;
    sigemptyset(&pipeSet);
    sigaddset(&pipeSet, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSet, &old);
    ssize_t r;
    do {
        r = offset >= 0 ? ::pwrite(fd, p, n, offset) : ::write(fd, p, n);
    } while (r < 0 && errno == EINTR);
    const int e = errno;
    if (r < 0 && e == EPIPE && !sigismember(&old, SIGPIPE)) {
        const timespec zero{0, 0};
        while (sigtimedwait(&pipeSet, nullptr, &zero) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    errno = e;
    return r;
}

} // namespace

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped) {
    if (written)
        *written = 0;
    auto file = transferFile(handle, buffer, toWrite, true);
    if (!file)
        return FALSE;
    const auto* p = static_cast<const char*>(buffer);
    const off_t offset = startOf(overlapped);
    DWORD done = 0;
    while (done < toWrite) {
        const ssize_t n =
            writeWithoutSigpipe(file->fd(), p + done, toWrite - done, offset >= 0 ? offset + done : -1);
        if (n < 0) {
            if (written)
                *written = done;
            SetLastError(pal::sys::errorFromErrno(errno));
            return FALSE;
        }
        done += static_cast<DWORD>(n);
    }
    if (written)
        *written = done;
    return TRUE;
}

BOOL SetFilePointerEx(HANDLE handle, LARGE_INTEGER distance, PLARGE_INTEGER newPosition, DWORD method) {
    auto file = fileFromHandle(handle);
    if (!file)
        return FALSE;
    const int whence = method == FILE_BEGIN     ? SEEK_SET
                       : method == FILE_CURRENT ? SEEK_CUR
                       : method == FILE_END     ? SEEK_END
                                                : -1;
    if (whence < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A position before the start is the caller's error, not the system's.
    off_t base = 0;
    if (whence == SEEK_CUR)
        base = ::lseek(file->fd(), 0, SEEK_CUR);
    else if (whence == SEEK_END) {
        struct stat st {};
        base = ::fstat(file->fd(), &st) == 0 ? st.st_size : -1;
    }
    if (base < 0) {
        SetLastError(pal::sys::errorFromErrno(errno));
        return FALSE;
    }
    if (base + distance.QuadPart < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return FALSE;
    }
    const off_t pos = ::lseek(file->fd(), base + distance.QuadPart, SEEK_SET);
    if (pos < 0) {
        SetLastError(pal::sys::errorFromErrno(errno));
        return FALSE;
    }
    if (newPosition)
        newPosition->QuadPart = pos;
    return TRUE;
}

BOOL GetFileSizeEx(HANDLE handle, PLARGE_INTEGER size) {
    auto file = fileFromHandle(handle);
    if (!file)
        return FALSE;
    struct stat st {};
    if (!size || ::fstat(file->fd(), &st) != 0) {
        SetLastError(size ? pal::sys::errorFromErrno(errno) : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    size->QuadPart = st.st_size;
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE handle) {
    auto file = fileFromHandle(handle);
    if (!file)
        return FALSE;
    if (::fsync(file->fd()) != 0 && errno != EINVAL && errno != EROFS) {
        SetLastError(pal::sys::errorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

BOOL SetEndOfFile(HANDLE handle) {
    auto file = fileOpenedFor(handle, true);
    if (!file)
        return FALSE;
    const off_t pos = ::lseek(file->fd(), 0, SEEK_CUR);
    if (pos < 0 || ::ftruncate(file->fd(), pos) != 0) {
        SetLastError(pal::sys::errorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

DWORD GetFileType(HANDLE handle) {
    auto file = fileFromHandle(handle);
    struct stat st {};
    if (!file || ::fstat(file->fd(), &st) != 0)
        return FILE_TYPE_UNKNOWN;
    SetLastError(ERROR_SUCCESS);
    return S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) ? FILE_TYPE_PIPE
           : S_ISCHR(st.st_mode)                        ? FILE_TYPE_CHAR
                                                        : FILE_TYPE_DISK;
}

BOOL GetFileTime(HANDLE handle, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite) {
    auto file = fileFromHandle(handle);
    if (!file)
        return FALSE;
    struct statx sx {};
    if (::statx(file->fd(), "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) {
        SetLastError(pal::sys::errorFromErrno(errno));
        return FALSE;
    }
    const auto& born = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_mtime;
    if (creation)
        *creation = pal::sys::toFileTime(born.tv_sec, born.tv_nsec);
    if (lastAccess)
        *lastAccess = pal::sys::toFileTime(sx.stx_atime.tv_sec, sx.stx_atime.tv_nsec);
    if (lastWrite)
        *lastWrite = pal::sys::toFileTime(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
    return TRUE;
}
