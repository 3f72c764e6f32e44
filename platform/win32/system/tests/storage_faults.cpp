#include "storage_faults.h"

#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace pal::test {
namespace {

std::atomic<StorageFault> fault{StorageFault::None};
sqlite3_vfs* real = nullptr;

// A file of the layer: the usual file follows it in the same allocation.
struct File {
    sqlite3_file base;
    sqlite3_file* inner() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};
File* of(sqlite3_file* f) {
    return reinterpret_cast<File*>(f);
}

int fileClose(sqlite3_file* f) {
    return of(f)->inner()->pMethods->xClose(of(f)->inner());
}
int fileRead(sqlite3_file* f, void* p, int n, sqlite3_int64 at) {
    return of(f)->inner()->pMethods->xRead(of(f)->inner(), p, n, at);
}
int fileWrite(sqlite3_file* f, const void* p, int n, sqlite3_int64 at) {
    if (fault.load() == StorageFault::DiskFull)
        return SQLITE_FULL;
    return of(f)->inner()->pMethods->xWrite(of(f)->inner(), p, n, at);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size) {
    return of(f)->inner()->pMethods->xTruncate(of(f)->inner(), size);
}
int fileSync(sqlite3_file* f, int flags) {
    return of(f)->inner()->pMethods->xSync(of(f)->inner(), flags);
}
int fileSize(sqlite3_file* f, sqlite3_int64* size) {
    return of(f)->inner()->pMethods->xFileSize(of(f)->inner(), size);
}
int fileLock(sqlite3_file* f, int level) {
    return of(f)->inner()->pMethods->xLock(of(f)->inner(), level);
}
int fileUnlock(sqlite3_file* f, int level) {
    return of(f)->inner()->pMethods->xUnlock(of(f)->inner(), level);
}
int fileCheckReserved(sqlite3_file* f, int* out) {
    return of(f)->inner()->pMethods->xCheckReservedLock(of(f)->inner(), out);
}
int fileControl(sqlite3_file* f, int op, void* arg) {
    return of(f)->inner()->pMethods->xFileControl(of(f)->inner(), op, arg);
}
int fileSectorSize(sqlite3_file* f) {
    return of(f)->inner()->pMethods->xSectorSize(of(f)->inner());
}
int fileDevice(sqlite3_file* f) {
    return of(f)->inner()->pMethods->xDeviceCharacteristics(of(f)->inner());
}
int fileShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** p) {
    return of(f)->inner()->pMethods->xShmMap(of(f)->inner(), region, size, extend, p);
}
int fileShmLock(sqlite3_file* f, int offset, int n, int flags) {
    return of(f)->inner()->pMethods->xShmLock(of(f)->inner(), offset, n, flags);
}
void fileShmBarrier(sqlite3_file* f) {
    of(f)->inner()->pMethods->xShmBarrier(of(f)->inner());
}
int fileShmUnmap(sqlite3_file* f, int remove) {
    return of(f)->inner()->pMethods->xShmUnmap(of(f)->inner(), remove);
}
int fileFetch(sqlite3_file* f, sqlite3_int64 at, int n, void** p) {
    return of(f)->inner()->pMethods->xFetch(of(f)->inner(), at, n, p);
}
int fileUnfetch(sqlite3_file* f, sqlite3_int64 at, void* p) {
    return of(f)->inner()->pMethods->xUnfetch(of(f)->inner(), at, p);
}

const sqlite3_io_methods methods = {
    3,           fileClose,      fileRead,          fileWrite,   fileTruncate,   fileSync,   fileSize,
    fileLock,    fileUnlock,     fileCheckReserved, fileControl, fileSectorSize, fileDevice, fileShmMap,
    fileShmLock, fileShmBarrier, fileShmUnmap,      fileFetch,   fileUnfetch,
};

// A database the process may not write is opened for reading only, as the usual layer does
// when the file's permissions refuse writing.
int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    if (fault.load() == StorageFault::ReadOnly && (flags & SQLITE_OPEN_MAIN_DB))
        flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
    File* file = of(f);
    const int rc = real->xOpen(real, name, file->inner(), flags, outFlags);
    file->base.pMethods = file->inner()->pMethods ? &methods : nullptr;
    return rc;
}

sqlite3_vfs& layer() {
    static sqlite3_vfs vfs = [] {
        real = sqlite3_vfs_find(nullptr);
        sqlite3_vfs v = *real;
        v.szOsFile = static_cast<int>(sizeof(File)) + real->szOsFile;
        v.zName = "dv-faults";
        v.pNext = nullptr;
        v.xOpen = open;
        return v;
    }();
    return vfs;
}

} // namespace

void setStorageFault(StorageFault f) {
    static const bool installed = sqlite3_vfs_register(&layer(), 1) == SQLITE_OK;
    (void)installed;
    fault.store(f);
}

} // namespace pal::test
