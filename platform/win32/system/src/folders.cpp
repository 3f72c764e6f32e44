// Finding, copying, moving and removing files and folders by path.
#include "win/system/file.h"

#include "file_object.h"
#include "pal/clock.h"
#include "pal/path.h"
#include "pal/sandbox.h"
#include "pal/text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using pal::sys::errorForMissing;
using pal::sys::errorFromErrno;
using pal::sys::toNativeChecked;

bool fail(DWORD error) {
    SetLastError(error);
    return false;
}

// * and ? over whole names, without case.
bool matches(std::wstring_view mask, std::wstring_view name) {
    size_t m = 0, n = 0, starM = std::wstring_view::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == L'*') {
            starM = m++;
            starN = n;
        } else if (m < mask.size() &&
                   (mask[m] == L'?' || pal::text::equalsNoCase(mask.substr(m, 1), name.substr(n, 1)))) {
            ++m;
            ++n;
        } else if (starM != std::wstring_view::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == L'*')
        ++m;
    return m == mask.size();
}

DWORD attributesOf(const struct stat& st, std::string_view name) {
    DWORD a = 0;
    if (S_ISDIR(st.st_mode))
        a |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(st.st_mode & S_IWUSR) && !S_ISDIR(st.st_mode))
        a |= FILE_ATTRIBUTE_READONLY;
    if (name.size() > 1 && name[0] == '.' && name != "..")
        a |= FILE_ATTRIBUTE_HIDDEN;
    return a ? a : FILE_ATTRIBUTE_NORMAL;
}

class FindObject : public pal::KernelObject {
public:
    pal::ObjectKind kind() const override { return pal::ObjectKind::Find; }
    std::vector<WIN32_FIND_DATAW> entries;
    size_t next = 0;
};

WIN32_FIND_DATAW findData(const fs::path& file, const std::string& name) {
    WIN32_FIND_DATAW d{};
    struct stat st {};
    ::stat(file.c_str(), &st);
    d.dwFileAttributes = attributesOf(st, name);
    d.ftCreationTime = pal::sys::toFileTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    d.ftLastAccessTime = pal::sys::toFileTime(st.st_atim.tv_sec, st.st_atim.tv_nsec);
    d.ftLastWriteTime = d.ftCreationTime;
    if (!S_ISDIR(st.st_mode)) {
        d.nFileSizeHigh = static_cast<DWORD>(static_cast<std::uint64_t>(st.st_size) >> 32);
        d.nFileSizeLow = static_cast<DWORD>(st.st_size);
    }
    const std::wstring w = pal::text::fromUtf8(name);
    const size_t n = std::min<size_t>(w.size(), MAX_PATH - 1);
    std::copy_n(w.begin(), n, d.cFileName);
    return d;
}

bool isDriveRoot(std::wstring_view folder) {
    if (folder.size() >= 2 && folder[1] == L':')
        folder.remove_prefix(2);
    return folder.find_first_not_of(L"\\/") == std::wstring_view::npos && !folder.empty();
}

bool existsNoFollow(const fs::path& p, struct stat& st) {
    return ::lstat(p.c_str(), &st) == 0;
}

bool isReadOnlyFile(const struct stat& st) {
    return !S_ISDIR(st.st_mode) && !(st.st_mode & S_IWUSR);
}

// Copies `from` into a new temporary file beside `to`, with its permissions and times, flushed.
// Returns the temporary file, or empty with the last error set.
fs::path copyToTemporary(const fs::path& from, const fs::path& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        SetLastError(errorFromErrno(errno));
        return {};
    }
    struct stat st {};
    ::fstat(in, &st);
    std::string pattern = (to.parent_path() / (".~" + to.filename().string() + ".XXXXXX")).string();
    const int out = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (out < 0) {
        const int e = errno;
        ::close(in);
        SetLastError(e == ENOENT ? ERROR_PATH_NOT_FOUND : errorFromErrno(e));
        return {};
    }
    char buffer[1 << 16];
    int error = 0;
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : 0;
            break;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0) {
                error = errno;
                break;
            }
            done += w;
        }
        if (error)
            break;
    }
    if (!error && ::fsync(out) != 0)
        error = errno;
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out, times);
    ::fchmod(out, st.st_mode & 07777);
    ::close(out);
    ::close(in);
    if (error) {
        ::unlink(pattern.c_str());
        SetLastError(errorFromErrno(error));
        return {};
    }
    return pattern;
}

bool renameTo(const fs::path& from, const fs::path& to, bool replace) {
    const int rc = replace ? ::rename(from.c_str(), to.c_str())
                           : ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (rc == 0)
        return true;
    return fail(errno == EEXIST   ? ERROR_ALREADY_EXISTS
                : errno == ENOENT ? errorForMissing(to)
                                  : errorFromErrno(errno));
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
    fs::path nativePattern;
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (!toNativeChecked(pattern, nativePattern, true))
        return INVALID_HANDLE_VALUE;
    const std::wstring_view p(pattern);
    const size_t sep = p.find_last_of(L"\\/");
    std::wstring folder(sep == std::wstring_view::npos
                            ? (p.size() >= 2 && p[1] == L':' ? p.substr(0, 2) : L"")
                            : p.substr(0, sep + 1));
    std::wstring mask(p.substr(folder.size()));
    if (mask.empty() || (mask.find_first_of(L"\\/") != std::wstring::npos)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (mask == L"*.*")
        mask = L"*";
    const fs::path nativeFolder = folder.empty() ? fs::path(".") : pal::path::toNative(folder);
    std::error_code ec;
    if (!fs::is_directory(nativeFolder, ec)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto find = std::make_shared<FindObject>();
    std::vector<std::string> names;
    if (!isDriveRoot(folder) && nativeFolder != "/") {
        names.push_back(".");
        names.push_back("..");
    }
    std::vector<std::string> others;
    for (fs::directory_iterator it(nativeFolder, ec), end; !ec && it != end; it.increment(ec))
        others.push_back(it->path().filename().string());
    std::sort(others.begin(), others.end(), [](const std::string& a, const std::string& b) {
        return pal::text::compareNoCase(pal::text::fromUtf8(a), pal::text::fromUtf8(b)) < 0;
    });
    names.insert(names.end(), others.begin(), others.end());
    for (const auto& name : names) {
        if (matches(mask, pal::text::fromUtf8(name)))
            find->entries.push_back(findData(nativeFolder / name, name));
    }
    if (find->entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    *data = find->entries[0];
    find->next = 1;
    SetLastError(ERROR_SUCCESS);
    return pal::handles::insert(std::move(find));
}

BOOL FindNextFileW(HANDLE handle, LPWIN32_FIND_DATAW data) {
    auto find = pal::handles::getAs<FindObject>(handle);
    if (!find || !data)
        return fail(find ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    if (find->next >= find->entries.size())
        return fail(ERROR_NO_MORE_FILES);
    *data = find->entries[find->next++];
    return TRUE;
}

BOOL FindClose(HANDLE handle) {
    if (!pal::handles::getAs<FindObject>(handle))
        return fail(ERROR_INVALID_HANDLE);
    return pal::handles::close(handle);
}

BOOL CopyFileW(LPCWSTR existing, LPCWSTR target, BOOL failIfExists) {
    fs::path from, to;
    if (!toNativeChecked(existing, from) || !toNativeChecked(target, to))
        return FALSE;
    struct stat st {
    }, tt{};
    if (::stat(from.c_str(), &st) != 0)
        return fail(errorForMissing(from));
    if (S_ISDIR(st.st_mode))
        return fail(ERROR_ACCESS_DENIED);
    if (::stat(to.c_str(), &tt) == 0) {
        if (failIfExists)
            return fail(ERROR_FILE_EXISTS);
        if (S_ISDIR(tt.st_mode) || isReadOnlyFile(tt))
            return fail(ERROR_ACCESS_DENIED);
        if (tt.st_dev == st.st_dev && tt.st_ino == st.st_ino)
            return fail(ERROR_SHARING_VIOLATION); // a file copied onto itself
    }
    const fs::path temporary = copyToTemporary(from, to);
    if (temporary.empty())
        return FALSE;
    if (!renameTo(temporary, to, !failIfExists)) {
        const DWORD e = GetLastError();
        ::unlink(temporary.c_str());
        return fail(e == ERROR_ALREADY_EXISTS ? ERROR_FILE_EXISTS : e);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL MoveFileExW(LPCWSTR existing, LPCWSTR target, DWORD flags) {
    fs::path from, to;
    if (!target)
        return fail(ERROR_INVALID_PARAMETER); // moves at the next restart are not supported
    if (!toNativeChecked(existing, from) || !toNativeChecked(target, to))
        return FALSE;
    struct stat st {
    }, tt{};
    if (!existsNoFollow(from, st))
        return fail(errorForMissing(from));
    const bool replace = flags & MOVEFILE_REPLACE_EXISTING;
    if (existsNoFollow(to, tt) && !(tt.st_dev == st.st_dev && tt.st_ino == st.st_ino)) {
        if (!replace)
            return fail(ERROR_ALREADY_EXISTS);
        // A folder neither replaces nor is replaced.
        if (S_ISDIR(tt.st_mode) || S_ISDIR(st.st_mode) || isReadOnlyFile(tt))
            return fail(ERROR_ACCESS_DENIED);
    }
    const int rc = replace ? ::rename(from.c_str(), to.c_str())
                           : ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (rc != 0 && errno == EXDEV) {
        if (!(flags & MOVEFILE_COPY_ALLOWED) || S_ISDIR(st.st_mode))
            return fail(ERROR_NOT_SAME_DEVICE);
        const fs::path temporary = copyToTemporary(from, to);
        if (temporary.empty())
            return FALSE;
        if (!renameTo(temporary, to, replace)) {
            const DWORD e = GetLastError();
            ::unlink(temporary.c_str());
            return fail(e);
        }
        ::unlink(from.c_str());
    } else if (rc != 0) {
        return fail(errno == EEXIST   ? ERROR_ALREADY_EXISTS
                    : errno == ENOENT ? errorForMissing(to)
                                      : errorFromErrno(errno));
    }
    if (flags & MOVEFILE_WRITE_THROUGH)
        syncFolder(to.parent_path());
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL MoveFileW(LPCWSTR existing, LPCWSTR target) {
    return MoveFileExW(existing, target, MOVEFILE_COPY_ALLOWED);
}

BOOL DeleteFileW(LPCWSTR path) {
    fs::path native;
    if (!toNativeChecked(path, native))
        return FALSE;
    struct stat st {};
    if (!existsNoFollow(native, st))
        return fail(errorForMissing(native));
    if (S_ISDIR(st.st_mode) || (!S_ISLNK(st.st_mode) && isReadOnlyFile(st)))
        return fail(ERROR_ACCESS_DENIED);
    if (::unlink(native.c_str()) != 0)
        return fail(errorFromErrno(errno));
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
    fs::path native;
    if (!toNativeChecked(path, native))
        return FALSE;
    // A trailing separator names the same folder.
    while (native.has_relative_path() && native.filename().empty())
        native = native.parent_path();
    if (::mkdir(native.c_str(), 0777) != 0)
        return fail(errno == EEXIST   ? ERROR_ALREADY_EXISTS
                    : errno == ENOENT ? ERROR_PATH_NOT_FOUND
                                      : errorFromErrno(errno));
    return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR path) {
    fs::path native;
    if (!toNativeChecked(path, native))
        return FALSE;
    while (native.has_relative_path() && native.filename().empty())
        native = native.parent_path();
    struct stat st {};
    if (!existsNoFollow(native, st))
        return fail(errorForMissing(native));
    if (!S_ISDIR(st.st_mode))
        return fail(ERROR_DIRECTORY);
    if (::rmdir(native.c_str()) != 0)
        return fail(errno == ENOTEMPTY || errno == EEXIST ? ERROR_DIR_NOT_EMPTY : errorFromErrno(errno));
    return TRUE;
}

BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes) {
    fs::path native;
    if (!toNativeChecked(path, native))
        return FALSE;
    struct stat st {};
    if (::stat(native.c_str(), &st) != 0)
        return fail(errorForMissing(native));
    if (S_ISDIR(st.st_mode))
        return TRUE; // the platform's read-only mark does not protect a folder
    const mode_t mode =
        (attributes & FILE_ATTRIBUTE_READONLY) ? (st.st_mode & ~mode_t{0222}) : (st.st_mode | S_IWUSR);
    if (::chmod(native.c_str(), mode & 07777) != 0)
        return fail(errorFromErrno(errno));
    return TRUE;
}

UINT GetTempFileNameW(LPCWSTR path, LPCWSTR prefix, UINT unique, LPWSTR tempFileName) {
    fs::path folder;
    if (!tempFileName || !toNativeChecked(path, folder)) {
        if (!tempFileName)
            SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        SetLastError(ERROR_DIRECTORY);
        return 0;
    }
    std::wstring base(path);
    if (base.back() != L'\\' && base.back() != L'/')
        base += L'\\';
    base += std::wstring(prefix ? prefix : L"").substr(0, 3);
    auto nameFor = [&](UINT n) {
        wchar_t hex[16];
        std::swprintf(hex, 16, L"%X", n);
        return base + hex + L".TMP";
    };
    auto copyOut = [&](const std::wstring& name) {
        if (name.size() >= MAX_PATH) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return false;
        }
        std::copy(name.begin(), name.end(), tempFileName);
        tempFileName[name.size()] = L'\0';
        return true;
    };
    unique &= 0xFFFF;
    if (unique)
        return copyOut(nameFor(unique)) ? unique : 0;
    // A new name: start somewhere that differs between processes and calls, create exclusively.
    UINT start = static_cast<UINT>((pal::clock::steadyNs() / 1000 + ::getpid()) & 0xFFFF);
    for (UINT i = 0; i < 0xFFFF; ++i) {
        const UINT n = ((start + i) % 0xFFFF) + 1;
        const std::wstring name = nameFor(n);
        const int fd =
            ::open(pal::path::toNative(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            if (!copyOut(name)) {
                ::unlink(pal::path::toNative(name).c_str());
                return 0;
            }
            pal::sandbox::ownTemporary(pal::path::toNative(name));
            return n;
        }
        if (errno != EEXIST) {
            SetLastError(errorFromErrno(errno));
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}
