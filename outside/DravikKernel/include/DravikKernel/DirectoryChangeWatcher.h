// The kernel's folder watcher: one handler per watched folder hears entries of the folder
// being added, removed, renamed or written.
//
// The library's rules for it:
// - Notifications reach the handlers on the thread that made the watcher, from its message
//   loop, never on another thread: handlers update windows without locks.
// - When the system drops notifications (its queue overflowed, or too many arrived before the
//   loop could take them), every watched folder's handler hears OnReadDirectoryChangesError
//   with ERROR_NOTIFY_ENUM_DIR: what it shows may be stale and must be listed again. Nothing
//   is lost silently.
// - Handlers are reference-counted. The watcher holds a reference from WatchDirectory until
//   the folder is unwatched (or the watcher goes), and one more while it calls the handler.
// - Sub-folder watching is not offered: a subtree request watches the folder alone.
#pragma once

#include "Compression/SharedPathName.h"

#include "pal/visibility.h"
#include "win/file_notify.h"
#include "win/types.h"

#include <atomic>
#include <memory>

DV_EXPORTS_BEGIN

class CDirectoryChangeHandler {
public:
    CDirectoryChangeHandler() = default;
    CDirectoryChangeHandler(const CDirectoryChangeHandler&) = delete;
    CDirectoryChangeHandler& operator=(const CDirectoryChangeHandler&) = delete;

    // The count after the change; the handler deletes itself when it reaches 0. A new handler
    // holds one reference, its maker's.
    long AddRef();
    long Release();

    virtual void OnFileAdded(const SharedPathName& path);
    virtual void OnFileRemoved(const SharedPathName& path);
    virtual void OnFileNameChanged(const SharedPathName& oldPath, const SharedPathName& newPath);
    virtual void OnFileModified(const SharedPathName& path);
    virtual void OnReadDirectoryChangesError(DWORD error, const SharedPathName& folder);
    virtual void OnWatchStarted(DWORD error, const SharedPathName& folder);
    virtual void OnWatchStopped(const SharedPathName& folder);
    // Asked before each change is told (action FILE_ACTION_*); false drops it.
    virtual bool OnFilterNotification(DWORD action, const SharedPathName& name,
                                      const SharedPathName& newName);

protected:
    virtual ~CDirectoryChangeHandler();

private:
    std::atomic<long> references_{1};
};

class CDirectoryChangeWatcher {
public:
    // `flags` tunes the watcher on the platform it was made for and changes nothing here.
    CDirectoryChangeWatcher(bool appHasGui, DWORD flags);
    ~CDirectoryChangeWatcher();
    CDirectoryChangeWatcher(const CDirectoryChangeWatcher&) = delete;
    CDirectoryChangeWatcher& operator=(const CDirectoryChangeWatcher&) = delete;

    // Watches the folder's entries (FILE_NOTIFY_CHANGE_* in `changeMask`) for the handler,
    // replacing an earlier watch of the folder. Include and exclude filters are file-name
    // patterns separated by ";" (null or empty: none). The handler hears OnWatchStarted with the
    // result; ERROR_SUCCESS when watching.
    DWORD WatchDirectory(const SharedPathName& folder, DWORD changeMask, CDirectoryChangeHandler* handler,
                         BOOL subtree, LPCWSTR include, LPCWSTR exclude);
    BOOL IsWatchingDirectory(const SharedPathName& folder) const;
    // The folder's handler (no reference is added), or null.
    CDirectoryChangeHandler* FindDirectoryChangeHandler(const SharedPathName& folder) const;
    // The handler hears OnWatchStopped and is released. False when the folder was not watched.
    BOOL UnwatchDirectory(const SharedPathName& folder);
    BOOL UnwatchAllDirectories();
    int GetWatchedDirectoryCount() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

DV_EXPORTS_END
