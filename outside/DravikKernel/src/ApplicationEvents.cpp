#include "DravikKernel/ApplicationEvents.h"

#include <algorithm>
#include <cstdint>
#include <mutex>

namespace {

struct Registration {
    ApplicationEventListener* listener;
    std::vector<int> ids;
    std::uint64_t serial; // tells a removed listener from a new one at the same address
};

struct Registry {
    std::mutex mutex;
    std::vector<Registration> entries;
    std::uint64_t nextSerial = 1;
};

Registry& registry() {
    static Registry* r = new Registry;
    return *r;
}

bool holds(const Registration& r, int event) {
    return std::find(r.ids.begin(), r.ids.end(), event) != r.ids.end();
}

} // namespace

ApplicationEventListener::~ApplicationEventListener() {
    ApplicationEventManager::removeListener(this);
}

void ApplicationEventManager::runEvent(int event, ApplicationEventArgs& args, int* result) {
    Registry& r = registry();
    std::vector<std::pair<ApplicationEventListener*, std::uint64_t>> targets;
    {
        std::lock_guard lock(r.mutex);
        for (const auto& e : r.entries)
            if (holds(e, event))
                targets.emplace_back(e.listener, e.serial);
    }
    // The lock is not held while a listener runs: it may raise events and add or remove
    // listeners, itself included.
    int reached = 0;
    for (const auto& target : targets) {
        {
            std::lock_guard lock(r.mutex);
            const auto alive = std::find_if(r.entries.begin(), r.entries.end(), [&](const Registration& e) {
                return e.serial == target.second && holds(e, event);
            });
            if (alive == r.entries.end())
                continue;
        }
        target.first->OnApplicationEvent(event, args);
        ++reached;
    }
    if (result)
        *result = reached;
}

void ApplicationEventManager::addListener(ApplicationEventListener* listener, const int* ids, size_t count) {
    if (!listener)
        return;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    std::vector<int> list(ids, ids + count);
    for (auto& e : r.entries)
        if (e.listener == listener) {
            e.ids = std::move(list);
            return;
        }
    r.entries.push_back({listener, std::move(list), r.nextSerial++});
}

void ApplicationEventManager::removeListener(ApplicationEventListener* listener) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.entries, [&](const Registration& e) { return e.listener == listener; });
}

size_t ApplicationEventManager::listenerCount(int event) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return static_cast<size_t>(std::count_if(r.entries.begin(), r.entries.end(),
                                             [&](const Registration& e) { return holds(e, event); }));
}
