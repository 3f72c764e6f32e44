// The folder watcher over inotify. One reader thread takes the system's events, pairs the two
// halves of a rename and queues what it read; a message-only window of the watcher's own thread
// wakes on the first queued notice and hands the whole queue to the handlers. The reader never
// touches handlers, so the only shared state is the queue.
#include "DravikKernel/DirectoryChangeWatcher.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/path.h"
#include "pal/text.h"
#include "win/base.h"
#include "win/error.h"
#include "win/user.h"

#include <cerrno>
#include <deque>
#include <fnmatch.h>
#include <map>
#include <mutex>
#include <optional>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

// ---------------------------------------------------------------------------------------------

long CDirectoryChangeHandler::AddRef() {
    return ++references_;
}

long CDirectoryChangeHandler::Release() {
    const long left = --references_;
    if (left == 0)
        delete this;
    return left;
}

CDirectoryChangeHandler::~CDirectoryChangeHandler() = default;
void CDirectoryChangeHandler::OnFileAdded(const SharedPathName&) {}
void CDirectoryChangeHandler::OnFileRemoved(const SharedPathName&) {}
void CDirectoryChangeHandler::OnFileNameChanged(const SharedPathName&, const SharedPathName&) {}
void CDirectoryChangeHandler::OnFileModified(const SharedPathName&) {}
void CDirectoryChangeHandler::OnReadDirectoryChangesError(DWORD, const SharedPathName&) {}
void CDirectoryChangeHandler::OnWatchStarted(DWORD, const SharedPathName&) {}
void CDirectoryChangeHandler::OnWatchStopped(const SharedPathName&) {}
bool CDirectoryChangeHandler::OnFilterNotification(DWORD, const SharedPathName&, const SharedPathName&) {
    return true;
}

// ---------------------------------------------------------------------------------------------

namespace {

constexpr UINT kWake = WM_USER + 1;
constexpr wchar_t kClassName[] = L"DVDirectoryChangeWatcher";
// Notices waiting for the loop beyond this many are dropped, and the folders are told to list
// themselves again instead.
constexpr std::size_t kLongestQueue = 1u << 16;

enum class Kind { Added, Removed, Renamed, Modified, Overflow };

struct Notice {
    Kind kind;
    int wd = -1;
    std::string name;
    int newWd = -1;
    std::string newName;
};

// A handler held for as long as a call into it lasts.
struct Held {
    explicit Held(CDirectoryChangeHandler* h) : handler(h) { handler->AddRef(); }
    ~Held() { handler->Release(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    CDirectoryChangeHandler* handler;
};

DWORD errorOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EMFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    default:
        return ERROR_INVALID_FUNCTION;
    }
}

std::vector<std::string> patternsOf(LPCWSTR text) {
    std::vector<std::string> patterns;
    if (text == nullptr)
        return patterns;
    std::string current;
    for (const char c : pal::text::toUtf8(text)) {
        if (c == ';') {
            if (!current.empty())
                patterns.push_back(current);
            current.clear();
        } else if (c != ' ' || !current.empty()) {
            current += c;
        }
    }
    if (!current.empty())
        patterns.push_back(current);
    return patterns;
}

bool matchesAny(const std::vector<std::string>& patterns, const std::string& name) {
    for (const std::string& p : patterns)
        if (fnmatch(p.c_str(), name.c_str(), FNM_CASEFOLD) == 0)
            return true;
    return false;
}

} // namespace

struct CDirectoryChangeWatcher::Impl {
    struct Watch {
        SharedPathName folder;
        CDirectoryChangeHandler* handler; // one reference held
        DWORD mask;
        std::vector<std::string> include;
        std::vector<std::string> exclude;
    };

    HWND window = nullptr;
    int inotify = -1;
    int stop = -1;
    std::thread reader;
    std::map<int, Watch> watches; // by watch descriptor; the owning thread only

    std::mutex mutex; // guards the queue
    std::deque<Notice> queue;
    bool overflowed = false;

    static LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kWake) {
            if (auto* impl = reinterpret_cast<Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
                impl->deliver();
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    Impl() {
        static std::once_flag registered;
        std::call_once(registered, [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = &Impl::WindowProc;
            wc.lpszClassName = kClassName;
            RegisterClassExW(&wc);
        });
        window = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        if (window)
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }

    ~Impl() {
        unwatchAll();
        if (reader.joinable()) {
            const std::uint64_t one = 1;
            [[maybe_unused]] const ssize_t n = ::write(stop, &one, sizeof one);
            reader.join();
        }
        if (inotify >= 0)
            ::close(inotify);
        if (stop >= 0)
            ::close(stop);
        if (window) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            DestroyWindow(window);
        }
    }

    bool start() {
        if (inotify >= 0)
            return true;
        inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        stop = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (inotify < 0 || stop < 0 || window == nullptr)
            return false;
        reader = std::thread([this] { read(); });
        return true;
    }

    // The reader thread.
    void read() {
        alignas(inotify_event) char buffer[64 * 1024];
        std::optional<Notice> movedFrom;
        std::uint32_t movedCookie = 0;
        for (;;) {
            pollfd fds[2] = {{inotify, POLLIN, 0}, {stop, POLLIN, 0}};
            // A rename's second half follows its first at once; when it does not come, the
            // entry left the folder.
            const int ready = ::poll(fds, 2, movedFrom ? 20 : -1);
            if (ready < 0 && errno != EINTR)
                return;
            if (fds[1].revents != 0)
                return;
            std::vector<Notice> read;
            if (ready == 0 && movedFrom) {
                movedFrom->kind = Kind::Removed;
                read.push_back(std::move(*movedFrom));
                movedFrom.reset();
            }
            const ssize_t length = fds[0].revents != 0 ? ::read(inotify, buffer, sizeof buffer) : 0;
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                const std::string name = event->len > 0 ? std::string(event->name) : std::string();
                const bool directory = (event->mask & IN_ISDIR) != 0;
                if (event->mask & IN_Q_OVERFLOW) {
                    read.push_back({Kind::Overflow, -1, {}, -1, {}});
                    continue;
                }
                if (movedFrom && !((event->mask & IN_MOVED_TO) && event->cookie == movedCookie)) {
                    movedFrom->kind = Kind::Removed;
                    read.push_back(std::move(*movedFrom));
                    movedFrom.reset();
                }
                const std::string tagged = (directory ? "d" : "f") + name;
                if (event->mask & IN_CREATE)
                    read.push_back({Kind::Added, event->wd, tagged, -1, {}});
                else if (event->mask & IN_DELETE)
                    read.push_back({Kind::Removed, event->wd, tagged, -1, {}});
                else if (event->mask & (IN_CLOSE_WRITE | IN_MODIFY))
                    read.push_back({Kind::Modified, event->wd, tagged, -1, {}});
                else if (event->mask & IN_MOVED_FROM) {
                    movedFrom = Notice{Kind::Renamed, event->wd, tagged, -1, {}};
                    movedCookie = event->cookie;
                } else if (event->mask & IN_MOVED_TO) {
                    if (movedFrom) {
                        movedFrom->newWd = event->wd;
                        movedFrom->newName = tagged;
                        read.push_back(std::move(*movedFrom));
                        movedFrom.reset();
                    } else {
                        read.push_back({Kind::Added, event->wd, tagged, -1, {}});
                    }
                }
            }
            if (!read.empty())
                enqueue(std::move(read));
        }
    }

    void enqueue(std::vector<Notice> notices) {
        bool wake = false;
        {
            std::lock_guard lock(mutex);
            wake = queue.empty() && !overflowed;
            for (Notice& n : notices) {
                if (n.kind == Kind::Overflow || queue.size() >= kLongestQueue) {
                    overflowed = true;
                    queue.clear();
                } else if (!overflowed) {
                    queue.push_back(std::move(n));
                }
            }
        }
        if (wake)
            PostMessageW(window, kWake, 0, 0);
    }

    static std::wstring childPath(const SharedPathName& folder, const std::string& tagged) {
        std::wstring path = folder.asCString();
        const wchar_t separator = path.find(L'\\') != std::wstring::npos ? L'\\' : L'/';
        if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
            path += separator;
        return path + pal::text::fromUtf8(std::string_view(tagged).substr(1));
    }

    // Whether the watch follows this entry at all.
    static bool follows(const Watch& watch, const std::string& tagged) {
        const bool directory = tagged.front() == 'd';
        if (!(watch.mask & (directory ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME)))
            return false;
        const std::string name = tagged.substr(1);
        if (!watch.include.empty() && !matchesAny(watch.include, name))
            return false;
        return !matchesAny(watch.exclude, name);
    }

    // The owning thread: hands what was read to the handlers, in the order it happened.
    void deliver() {
        std::deque<Notice> notices;
        bool lost = false;
        {
            std::lock_guard lock(mutex);
            notices.swap(queue);
            lost = std::exchange(overflowed, false);
        }
        for (const Notice& n : notices)
            deliver(n);
        if (lost) {
            std::vector<std::pair<SharedPathName, CDirectoryChangeHandler*>> told;
            for (const auto& [wd, watch] : watches)
                told.emplace_back(watch.folder, watch.handler);
            for (auto& [folder, handler] : told) {
                if (!isWatched(handler))
                    continue; // unwatched by an earlier handler meanwhile
                Held held(handler);
                handler->OnReadDirectoryChangesError(ERROR_NOTIFY_ENUM_DIR, folder);
            }
        }
    }

    bool isWatched(CDirectoryChangeHandler* handler) const {
        for (const auto& [wd, watch] : watches)
            if (watch.handler == handler)
                return true;
        return false;
    }

    void deliver(const Notice& n) {
        auto it = watches.find(n.wd);
        if (n.kind == Kind::Renamed && n.newWd != n.wd) {
            // Moved between two folders: it left the one and came into the other.
            if (it != watches.end())
                tell(it->second, Kind::Removed, n.name, {});
            if (auto to = watches.find(n.newWd); to != watches.end())
                tell(to->second, Kind::Added, n.newName, {});
            return;
        }
        if (it != watches.end())
            tell(it->second, n.kind, n.name, n.newName);
    }

    void tell(const Watch& watch, Kind kind, const std::string& name, const std::string& newName) {
        const bool old = follows(watch, name);
        const bool now = kind == Kind::Renamed && follows(watch, newName);
        if (kind == Kind::Renamed && old != now) {
            // Renamed out of (or into) what the watch follows.
            if (old)
                tell(watch, Kind::Removed, name, {});
            else
                tell(watch, Kind::Added, newName, {});
            return;
        }
        if (!old)
            return;
        if (kind == Kind::Modified && !(watch.mask & FILE_NOTIFY_CHANGE_LAST_WRITE))
            return;
        Held held(watch.handler);
        CDirectoryChangeHandler* handler = watch.handler;
        const SharedPathName path(childPath(watch.folder, name));
        const SharedPathName renamed(kind == Kind::Renamed ? childPath(watch.folder, newName)
                                                           : std::wstring());
        static constexpr DWORD kActions[] = {FILE_ACTION_ADDED, FILE_ACTION_REMOVED,
                                             FILE_ACTION_RENAMED_OLD_NAME, FILE_ACTION_MODIFIED};
        if (!handler->OnFilterNotification(kActions[static_cast<int>(kind)], path, renamed))
            return;
        switch (kind) {
        case Kind::Added:
            handler->OnFileAdded(path);
            break;
        case Kind::Removed:
            handler->OnFileRemoved(path);
            break;
        case Kind::Renamed:
            handler->OnFileNameChanged(path, renamed);
            break;
        case Kind::Modified:
            handler->OnFileModified(path);
            break;
        case Kind::Overflow:
            break;
        }
    }

    std::map<int, Watch>::iterator find(const SharedPathName& folder) {
        for (auto it = watches.begin(); it != watches.end(); ++it)
            if (it->second.folder == folder)
                return it;
        return watches.end();
    }

    bool unwatch(std::map<int, Watch>::iterator it) {
        if (it == watches.end())
            return false;
        Watch watch = it->second;
        inotify_rm_watch(inotify, it->first);
        watches.erase(it);
        watch.handler->OnWatchStopped(watch.folder);
        watch.handler->Release();
        return true;
    }

    void unwatchAll() {
        while (!watches.empty())
            unwatch(watches.begin());
    }
};

CDirectoryChangeWatcher::CDirectoryChangeWatcher(bool, DWORD) : impl_(std::make_unique<Impl>()) {}

CDirectoryChangeWatcher::~CDirectoryChangeWatcher() = default;

DWORD CDirectoryChangeWatcher::WatchDirectory(const SharedPathName& folder, DWORD changeMask,
                                              CDirectoryChangeHandler* handler, BOOL, LPCWSTR include,
                                              LPCWSTR exclude) {
    if (handler == nullptr || folder.empty())
        return ERROR_INVALID_PARAMETER;
    impl_->unwatch(impl_->find(folder));
    DWORD error = ERROR_SUCCESS;
    int wd = -1;
    if (!impl_->start()) {
        error = ERROR_INVALID_FUNCTION;
    } else {
        const std::filesystem::path native = pal::path::toNative(folder.asCString());
        std::uint32_t events =
            IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR | IN_EXCL_UNLINK;
        if (changeMask & FILE_NOTIFY_CHANGE_LAST_WRITE)
            events |= IN_CLOSE_WRITE;
        wd = native.empty() ? -1 : inotify_add_watch(impl_->inotify, native.c_str(), events);
        if (wd < 0)
            error = native.empty() ? ERROR_PATH_NOT_FOUND : errorOf(errno);
    }
    if (error == ERROR_SUCCESS) {
        // Two names of one folder share the system's watch: the later takes it over.
        if (auto same = impl_->watches.find(wd); same != impl_->watches.end()) {
            Impl::Watch old = same->second;
            impl_->watches.erase(same);
            old.handler->OnWatchStopped(old.folder);
            old.handler->Release();
        }
        handler->AddRef();
        impl_->watches.emplace(
            wd, Impl::Watch{folder, handler, changeMask, patternsOf(include), patternsOf(exclude)});
    } else {
        DVLog_Write(DVLogWarning, "Folder watch of \"%s\" failed with error %u",
                    pal::text::toUtf8(folder.asCString()).c_str(), static_cast<unsigned>(error));
    }
    Held held(handler);
    handler->OnWatchStarted(error, folder);
    return error;
}

BOOL CDirectoryChangeWatcher::IsWatchingDirectory(const SharedPathName& folder) const {
    return impl_->find(folder) != impl_->watches.end();
}

CDirectoryChangeHandler*
CDirectoryChangeWatcher::FindDirectoryChangeHandler(const SharedPathName& folder) const {
    const auto it = impl_->find(folder);
    return it != impl_->watches.end() ? it->second.handler : nullptr;
}

BOOL CDirectoryChangeWatcher::UnwatchDirectory(const SharedPathName& folder) {
    return impl_->unwatch(impl_->find(folder));
}

BOOL CDirectoryChangeWatcher::UnwatchAllDirectories() {
    const bool any = !impl_->watches.empty();
    impl_->unwatchAll();
    return any;
}

int CDirectoryChangeWatcher::GetWatchedDirectoryCount() const {
    return static_cast<int>(impl_->watches.size());
}
