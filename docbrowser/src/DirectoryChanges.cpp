#include "docbrowser/DirectoryChanges.h"

#include "win/base.h"

#include <algorithm>
#include <mutex>

namespace DocumentsMenu {

DirectoryChangesHandler::~DirectoryChangesHandler() {
    Detach();
}

void DirectoryChangesHandler::OnFileAdded(const SharedPathName&) {}
void DirectoryChangesHandler::OnFileRemoved(const SharedPathName&) {}
void DirectoryChangesHandler::OnFileNameChanged(const SharedPathName&, const SharedPathName&) {}
void DirectoryChangesHandler::OnFileModified(const SharedPathName&) {}
void DirectoryChangesHandler::OnReadDirectoryChangesError(DWORD, const SharedPathName&) {}
void DirectoryChangesHandler::OnWatchStarted(DWORD, const SharedPathName&) {}
void DirectoryChangesHandler::OnWatchStopped(const SharedPathName&) {}
bool DirectoryChangesHandler::OnFilterNotification(DWORD, const SharedPathName&, const SharedPathName&) {
    return false;
}

void DirectoryChangesHandler::Detach() {
    if (dispatcher_ != nullptr)
        dispatcher_->Detach(this);
}

void DirectoryChangeDispatcher::Attach(DirectoryChangesHandler* observer) {
    if (observer == nullptr || std::find(observers_.begin(), observers_.end(), observer) != observers_.end())
        return;
    if (observer->dispatcher_ != nullptr)
        observer->dispatcher_->Detach(observer); // an observer follows one folder
    observer->dispatcher_ = this;
    observers_.push_back(observer);
}

void DirectoryChangeDispatcher::Detach(DirectoryChangesHandler* observer) {
    const auto it = std::find(observers_.begin(), observers_.end(), observer);
    if (it == observers_.end())
        return;
    // The slot is emptied rather than erased, so that telling the others goes on in order
    // when an observer leaves (or is destroyed) while it is being told.
    *it = nullptr;
    observer->dispatcher_ = nullptr;
    if (telling_ == 0)
        std::erase(observers_, nullptr);
}

std::vector<DirectoryChangesHandler*> DirectoryChangeDispatcher::GetObservers() const {
    std::vector<DirectoryChangesHandler*> attached;
    for (DirectoryChangesHandler* observer : observers_)
        if (observer != nullptr)
            attached.push_back(observer);
    return attached;
}

DirectoryChangeDispatcher::~DirectoryChangeDispatcher() {
    for (DirectoryChangesHandler* observer : observers_)
        if (observer != nullptr)
            observer->dispatcher_ = nullptr;
}

template <class F> void DirectoryChangeDispatcher::TellAll(F&& f) {
    // The watcher holds this dispatcher for the length of the call.
    const std::size_t count = observers_.size();
    ++telling_;
    for (std::size_t i = 0; i < count; ++i)
        if (DirectoryChangesHandler* observer = observers_[i])
            f(observer);
    if (--telling_ == 0)
        std::erase(observers_, nullptr);
}

void DirectoryChangeDispatcher::OnFileAdded(const SharedPathName& path) {
    TellAll([&](DirectoryChangesHandler* o) { o->OnFileAdded(path); });
}

void DirectoryChangeDispatcher::OnFileRemoved(const SharedPathName& path) {
    TellAll([&](DirectoryChangesHandler* o) { o->OnFileRemoved(path); });
}

void DirectoryChangeDispatcher::OnFileNameChanged(const SharedPathName& oldPath,
                                                  const SharedPathName& newPath) {
    TellAll([&](DirectoryChangesHandler* o) { o->OnFileNameChanged(oldPath, newPath); });
}

void DirectoryChangeDispatcher::OnFileModified(const SharedPathName& path) {
    TellAll([&](DirectoryChangesHandler* o) { o->OnFileModified(path); });
}

void DirectoryChangeDispatcher::OnReadDirectoryChangesError(DWORD error, const SharedPathName& folder) {
    TellAll([&](DirectoryChangesHandler* o) { o->OnReadDirectoryChangesError(error, folder); });
}

void DirectoryChangeDispatcher::OnWatchStarted(DWORD error, const SharedPathName& folder) {
    TellAll([&](DirectoryChangesHandler* o) { o->OnWatchStarted(error, folder); });
}

void DirectoryChangeDispatcher::OnWatchStopped(const SharedPathName& folder) {
    TellAll([&](DirectoryChangesHandler* o) { o->OnWatchStopped(folder); });
}

bool DirectoryChangeDispatcher::OnFilterNotification(DWORD action, const SharedPathName& name,
                                                     const SharedPathName& newName) {
    TellAll([&](DirectoryChangesHandler* o) { o->OnFilterNotification(action, name, newName); });
    return true;
}

CDirectoryChangeWatcher& GetDirectoryWatcher() {
    // Kept to the end of the process: the watcher's thread is ended by the process's end, and
    // no handler is called after the UI thread's loop stops.
    static CDirectoryChangeWatcher* watcher;
    static std::once_flag once;
    std::call_once(once, [] { watcher = new CDirectoryChangeWatcher(true, 225); });
    return *watcher;
}

void WatchDirectory(CDirectoryChangeWatcher& watcher, const SharedPathName& folder,
                    DirectoryChangesHandler* observer) {
    if (watcher.IsWatchingDirectory(folder)) {
        if (auto* dispatcher =
                dynamic_cast<DirectoryChangeDispatcher*>(watcher.FindDirectoryChangeHandler(folder)))
            dispatcher->Attach(observer);
        return;
    }
    auto* dispatcher = new DirectoryChangeDispatcher;
    dispatcher->Attach(observer);
    watcher.WatchDirectory(folder, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME, dispatcher,
                           FALSE, nullptr, nullptr);
    dispatcher->Release(); // the watcher keeps its own reference
}

void UnwatchDirectory(CDirectoryChangeWatcher& watcher, const SharedPathName& folder) {
    watcher.UnwatchDirectory(folder);
}

} // namespace DocumentsMenu
