// The browser's folder watch: one kernel watcher for the program, and between it and the rows
// and lists that follow folders a dispatcher per folder, so that any number of them follow one
// folder while the watcher sees one handler.
#pragma once

#include "DravikKernel/DirectoryChangeWatcher.h"

#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

namespace DocumentsMenu {

class DirectoryChangeDispatcher;

// What follows a folder. Notifications come on the UI thread.
class DirectoryChangesHandler {
public:
    DirectoryChangesHandler() = default;
    DirectoryChangesHandler(const DirectoryChangesHandler&) = delete;
    DirectoryChangesHandler& operator=(const DirectoryChangesHandler&) = delete;
    // Detaches the observer.
    virtual ~DirectoryChangesHandler();

    virtual void OnFileAdded(const SharedPathName& path);
    virtual void OnFileRemoved(const SharedPathName& path);
    virtual void OnFileNameChanged(const SharedPathName& oldPath, const SharedPathName& newPath);
    virtual void OnFileModified(const SharedPathName& path);
    virtual void OnReadDirectoryChangesError(DWORD error, const SharedPathName& folder);
    virtual void OnWatchStarted(DWORD error, const SharedPathName& folder);
    virtual void OnWatchStopped(const SharedPathName& folder);
    virtual bool OnFilterNotification(DWORD action, const SharedPathName& name,
                                      const SharedPathName& newName);

    // Stops following the folder; the folder stays watched for the others.
    void Detach();
    DirectoryChangeDispatcher* GetDispatcher() const { return dispatcher_; }

private:
    friend class DirectoryChangeDispatcher;
    DirectoryChangeDispatcher* dispatcher_ = nullptr;
};

// The watcher's handler of one folder: tells every attached observer, in attachment order.
class DirectoryChangeDispatcher : public CDirectoryChangeHandler {
public:
    DirectoryChangeDispatcher() = default;

    // An observer already attached is not added again.
    void Attach(DirectoryChangesHandler* observer);
    void Detach(DirectoryChangesHandler* observer);
    // The attached observers, in attachment order.
    std::vector<DirectoryChangesHandler*> GetObservers() const;

    void OnFileAdded(const SharedPathName& path) override;
    void OnFileRemoved(const SharedPathName& path) override;
    void OnFileNameChanged(const SharedPathName& oldPath, const SharedPathName& newPath) override;
    void OnFileModified(const SharedPathName& path) override;
    void OnReadDirectoryChangesError(DWORD error, const SharedPathName& folder) override;
    void OnWatchStarted(DWORD error, const SharedPathName& folder) override;
    void OnWatchStopped(const SharedPathName& folder) override;
    // Every observer is asked; the change is always passed on.
    bool OnFilterNotification(DWORD action, const SharedPathName& name,
                              const SharedPathName& newName) override;

protected:
    // The observers still attached are left unattached.
    ~DirectoryChangeDispatcher() override;

private:
    template <class F> void TellAll(F&& f);

    std::vector<DirectoryChangesHandler*> observers_; // not owned; emptied slots while telling
    int telling_ = 0;
};

// The program's watcher, made on first use.
CDirectoryChangeWatcher& GetDirectoryWatcher();
// The observer follows the folder: through the folder's dispatcher when the folder is watched
// already (a folder watched for some other handler attaches nothing), else through a new one.
void WatchDirectory(CDirectoryChangeWatcher& watcher, const SharedPathName& folder,
                    DirectoryChangesHandler* observer);
void UnwatchDirectory(CDirectoryChangeWatcher& watcher, const SharedPathName& folder);

} // namespace DocumentsMenu

DV_EXPORTS_END
