// Events, mutexes and critical sections. Events and mutexes are waitable kernel objects on
// the base's wait hub. A named mutex is also seen by the other processes of the sandbox,
// through lock files under the sandbox's run folder.
#include "sync.h"

#include "win/user.h"

#include "pal/handles.h"
#include "pal/sandbox.h"
#include "pal/text.h"

#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace pal::win {
namespace {

class EventObject : public pal::KernelObject {
public:
    EventObject(bool manual, bool signalled) : manual_(manual), signalled_(signalled) {}
    pal::ObjectKind kind() const override { return pal::ObjectKind::Event; }
    bool isWaitable() const override { return true; }
    bool canAcquire(DWORD) override { return signalled_; }
    bool tryAcquire(DWORD) override {
        if (!signalled_)
            return false;
        if (!manual_)
            signalled_ = false;
        return true;
    }
    void set(bool signalled) {
        {
            std::lock_guard lock(pal::wait::hubMutex());
            signalled_ = signalled;
        }
        pal::wait::notifyAll();
    }

private:
    bool manual_;
    bool signalled_;
};

// The part of a named mutex other processes see. Three lock files per name: holding a shared
// lock on "exists" says this process has the mutex open; "guard" makes checking for others
// and joining them one step; an exclusive lock on "owner" is the ownership.
class SharedName {
public:
    // Opens the name; `existed` tells whether another process had it open already.
    static std::unique_ptr<SharedName> open(const std::wstring& name, bool& existed, bool joinOnly) {
        std::error_code ec;
        const std::filesystem::path dir = pal::sandbox::runDir() / "objects";
        std::filesystem::create_directories(dir, ec);
        const std::string base = (dir / encode(name)).string();
        auto s = std::unique_ptr<SharedName>(new SharedName);
        const int guard = ::open((base + ".guard").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        s->exists_ = ::open((base + ".exists").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        s->owner_ = ::open((base + ".owner").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        s->ownerPath_ = base + ".owner";
        if (guard < 0 || s->exists_ < 0 || s->owner_ < 0) {
            if (guard >= 0)
                ::close(guard);
            return nullptr;
        }
        ::flock(guard, LOCK_EX);
        existed = ::flock(s->exists_, LOCK_EX | LOCK_NB) != 0;
        if (!existed && joinOnly) {
            ::flock(s->exists_, LOCK_UN);
            ::close(guard);
            return nullptr;
        }
        // Under the guard nobody else tests for an exclusive lock, so turning ours into a
        // shared one (or waiting for the shared one) cannot be overtaken.
        ::flock(s->exists_, LOCK_SH);
        ::close(guard);
        return s;
    }
    ~SharedName() {
        ::close(exists_);
        ::close(owner_);
    }
    bool tryLock() { return ::flock(owner_, LOCK_EX | LOCK_NB) == 0; }
    void unlock() { ::flock(owner_, LOCK_UN); }
    // Whether another process owns the mutex now, without taking it.
    bool free() const {
        const int fd = ::open(ownerPath_.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return true;
        const bool ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);
        return ok;
    }

private:
    SharedName() = default;
    static std::string encode(const std::wstring& name) {
        static const char* hex = "0123456789ABCDEF";
        std::string out;
        for (unsigned char c : pal::text::toUtf8(name)) {
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                c == '-' || c == '.')
                out += static_cast<char>(c);
            else
                out += {'%', hex[c >> 4], hex[c & 15]};
        }
        return out;
    }
    int exists_ = -1;
    int owner_ = -1;
    std::string ownerPath_;
};

class MutexObject;

// The mutexes a thread owns, so that its end abandons them.
struct OwnedMutexes {
    std::vector<std::weak_ptr<MutexObject>> list;
    ~OwnedMutexes() { abandonAll(); }
    void abandonAll();
};
thread_local OwnedMutexes tOwned;

class MutexObject : public pal::KernelObject, public std::enable_shared_from_this<MutexObject> {
public:
    explicit MutexObject(std::unique_ptr<SharedName> shared) : shared_(std::move(shared)) {}
    pal::ObjectKind kind() const override { return pal::ObjectKind::Mutex; }
    bool isWaitable() const override { return true; }
    // Another process's release is not signalled here: waiters look again now and then.
    DWORD pollIntervalMs() const override { return shared_ ? 20 : 0; }
    bool canAcquire(DWORD thread) override {
        return owner_ == thread || (owner_ == 0 && (!shared_ || shared_->free()));
    }
    bool tryAcquire(DWORD thread) override {
        if (owner_ == thread) {
            ++count_;
            return true;
        }
        if (owner_ != 0 || (shared_ && !shared_->tryLock()))
            return false;
        owner_ = thread;
        count_ = 1;
        if (thread == GetCurrentThreadId())
            tOwned.list.push_back(weak_from_this());
        return true;
    }
    bool takeAbandoned() override {
        const bool was = abandoned_;
        abandoned_ = false;
        return was;
    }
    // With the hub's mutex held, on the calling thread.
    bool release(DWORD thread) {
        if (owner_ != thread)
            return false;
        if (--count_ == 0) {
            drop();
            forgetOwned();
        }
        return true;
    }
    void abandon(DWORD thread) {
        if (owner_ != thread)
            return;
        drop();
        abandoned_ = true;
    }

private:
    // Takes this mutex off the calling thread's list, so a thread that takes and releases
    // a mutex again and again does not grow the list without end.
    void forgetOwned() {
        const std::weak_ptr<MutexObject> self = weak_from_this();
        std::erase_if(tOwned.list, [&self](const std::weak_ptr<MutexObject>& w) {
            return w.expired() || (!w.owner_before(self) && !self.owner_before(w));
        });
    }
    void drop() {
        owner_ = 0;
        count_ = 0;
        if (shared_)
            shared_->unlock();
    }
    std::unique_ptr<SharedName> shared_;
    DWORD owner_ = 0;
    int count_ = 0;
    bool abandoned_ = false;
};

void OwnedMutexes::abandonAll() {
    if (list.empty())
        return;
    const DWORD self = GetCurrentThreadId();
    {
        std::lock_guard lock(pal::wait::hubMutex());
        for (auto& weak : list) {
            if (auto m = weak.lock())
                m->abandon(self);
        }
        list.clear();
    }
    pal::wait::notifyAll();
}

// Named objects of this process, by name; all kinds share one namespace.
struct Names {
    std::mutex mutex;
    std::map<std::wstring, std::weak_ptr<pal::KernelObject>> objects;
};
Names& names() {
    static auto* n = new Names;
    return *n;
}

// "Local\\x" is "x"; "Global\\x" stays apart, as in the platform's namespaces.
std::wstring canonical(LPCWSTR name) {
    std::wstring n(name);
    if (n.rfind(L"Local\\", 0) == 0)
        n.erase(0, 6);
    return n;
}

template <class T> HANDLE existingHandle(const std::shared_ptr<pal::KernelObject>& object) {
    if (!std::dynamic_pointer_cast<T>(object)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HANDLE h = pal::handles::insert(object);
    SetLastError(ERROR_ALREADY_EXISTS);
    return h;
}

} // namespace

void abandonOwnedMutexes() {
    tOwned.abandonAll();
}

} // namespace pal::win

using namespace pal::win;

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR name) {
    if (!name || !*name) {
        HANDLE h = pal::handles::insert(std::make_shared<EventObject>(manualReset, initialState));
        SetLastError(ERROR_SUCCESS);
        return h;
    }
    std::lock_guard lock(names().mutex);
    const std::wstring key = canonical(name);
    if (auto existing = names().objects[key].lock())
        return existingHandle<EventObject>(existing);
    auto e = std::make_shared<EventObject>(manualReset, initialState);
    names().objects[key] = e;
    HANDLE h = pal::handles::insert(e);
    SetLastError(ERROR_SUCCESS);
    return h;
}

HANDLE OpenEventW(DWORD, BOOL, LPCWSTR name) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard lock(names().mutex);
    auto existing = names().objects[canonical(name)].lock();
    if (!existing) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    HANDLE h = existingHandle<EventObject>(existing);
    if (h)
        SetLastError(ERROR_SUCCESS);
    return h;
}

namespace {
BOOL setEventState(HANDLE event, bool signalled) {
    auto e = pal::handles::getAs<EventObject>(event);
    if (!e) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    e->set(signalled);
    return TRUE;
}
} // namespace

BOOL SetEvent(HANDLE event) {
    return setEventState(event, true);
}

BOOL ResetEvent(HANDLE event) {
    return setEventState(event, false);
}

namespace {
HANDLE makeMutex(std::unique_ptr<SharedName> shared, bool own) {
    auto m = std::make_shared<MutexObject>(std::move(shared));
    if (own) {
        std::lock_guard lock(pal::wait::hubMutex());
        m->tryAcquire(GetCurrentThreadId());
    }
    return pal::handles::insert(m);
}
} // namespace

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCWSTR name) {
    if (!name || !*name) {
        HANDLE h = makeMutex(nullptr, initialOwner);
        SetLastError(ERROR_SUCCESS);
        return h;
    }
    std::lock_guard lock(names().mutex);
    const std::wstring key = canonical(name);
    if (auto existing = names().objects[key].lock())
        return existingHandle<MutexObject>(existing); // the first creator's owner stays
    bool existedElsewhere = false;
    auto shared = SharedName::open(key, existedElsewhere, false);
    if (!shared) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    HANDLE h = makeMutex(std::move(shared), initialOwner && !existedElsewhere);
    names().objects[key] = pal::handles::get(h);
    SetLastError(existedElsewhere ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return h;
}

HANDLE OpenMutexW(DWORD, BOOL, LPCWSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard lock(names().mutex);
    const std::wstring key = canonical(name);
    if (auto existing = names().objects[key].lock()) {
        HANDLE h = existingHandle<MutexObject>(existing);
        if (h)
            SetLastError(ERROR_SUCCESS);
        return h;
    }
    bool existed = false;
    auto shared = SharedName::open(key, existed, true);
    if (!shared) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    HANDLE h = makeMutex(std::move(shared), false);
    names().objects[key] = pal::handles::get(h);
    SetLastError(ERROR_SUCCESS);
    return h;
}

BOOL ReleaseMutex(HANDLE mutex) {
    auto m = pal::handles::getAs<MutexObject>(mutex);
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    bool released = false;
    {
        std::lock_guard lock(pal::wait::hubMutex());
        released = m->release(GetCurrentThreadId());
    }
    if (!released) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    pal::wait::notifyAll();
    return TRUE;
}

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
    section->lock = new std::recursive_mutex;
    section->owningThread = 0;
    section->recursionCount = 0;
}

BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD) {
    InitializeCriticalSection(section);
    return TRUE;
}

void EnterCriticalSection(LPCRITICAL_SECTION section) {
    static_cast<std::recursive_mutex*>(section->lock)->lock();
    section->owningThread = GetCurrentThreadId();
    ++section->recursionCount;
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
    if (!static_cast<std::recursive_mutex*>(section->lock)->try_lock())
        return FALSE;
    section->owningThread = GetCurrentThreadId();
    ++section->recursionCount;
    return TRUE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) {
    if (--section->recursionCount == 0)
        section->owningThread = 0;
    static_cast<std::recursive_mutex*>(section->lock)->unlock();
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
    delete static_cast<std::recursive_mutex*>(section->lock);
    section->lock = nullptr;
}
