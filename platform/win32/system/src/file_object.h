// The kernel object behind file, pipe and standard handles: one descriptor.
#pragma once

#include "pal/handles.h"
#include "win/error.h"

#include <filesystem>
#include <string_view>
#include <unistd.h>

namespace pal::sys {

class FileObject : public KernelObject {
public:
    FileObject(int fd, ObjectKind kind, bool canRead, bool canWrite, bool owned = true)
        : fd_(fd), kind_(kind), canRead_(canRead), canWrite_(canWrite), owned_(owned) {}
    ~FileObject() override {
        if (owned_ && fd_ >= 0)
            ::close(fd_);
        if (!deleteOnClose.empty())
            ::unlink(deleteOnClose.c_str());
    }
    FileObject(const FileObject&) = delete;
    FileObject& operator=(const FileObject&) = delete;

    ObjectKind kind() const override { return kind_; }
    int fd() const { return fd_; }
    bool canRead() const { return canRead_; }
    bool canWrite() const { return canWrite_; }
    // FILE_FLAG_DELETE_ON_CLOSE: removed when the last handle goes.
    std::filesystem::path deleteOnClose;

private:
    int fd_;
    ObjectKind kind_;
    bool canRead_;
    bool canWrite_;
    bool owned_;
};

// The file object behind a handle (including the standard handles); null with
// ERROR_INVALID_HANDLE for anything else.
std::shared_ptr<FileObject> fileFromHandle(HANDLE handle);

// The platform's error code for an errno value of a file operation on `path` (a missing
// parent folder makes ENOENT a path error).
DWORD errorFromErrno(int error);
DWORD errorForMissing(const std::filesystem::path& path);

// A path of the system code as a native path, refusing names the platform refuses (< > : " | ?
// * in a name; wildcards pass when `wildcards`). False with the last error set.
bool toNativeChecked(const wchar_t* path, std::filesystem::path& out, bool wildcards = false);

// The handle flags of SetHandleInformation (HANDLE_FLAG_INHERIT ...), kept per handle.
void setHandleFlags(HANDLE handle, DWORD flags);

// 100-ns intervals since 1601, from a time since 1970.
FILETIME toFileTime(std::int64_t seconds, long nanoseconds);

} // namespace pal::sys
