#include "xtp/PaintManager.h"

#include <mutex>

namespace {

struct Shared {
    std::mutex mutex;
    CXTPPaintManager* instance = nullptr;
    long references = 0;
};

Shared& shared() {
    static Shared* s = new Shared; // outlives static destructors that may still release
    return *s;
}

} // namespace

CXTPPaintManager* CXTPPaintManager::GetInstanceAddRef() {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    if (s.instance == nullptr)
        s.instance = new CXTPPaintManager;
    ++s.references;
    return s.instance;
}

void CXTPPaintManager::ReleaseInstance() {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    if (s.references == 0)
        return;
    if (--s.references == 0) {
        delete s.instance;
        s.instance = nullptr;
    }
}

CXTPPaintManager* CXTPPaintManager::GetInstance() {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    return s.instance;
}

long CXTPPaintManager::GetInstanceRefCount() {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    return s.references;
}
