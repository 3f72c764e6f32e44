// Clearing the model between tests.
#include "atoms.h"
#include "model.h"

#include "pal/detail/system_classes.h"
#include "pal/detail/user_control.h"

#include <vector>

namespace pal::win {

namespace {

std::vector<pal::detail::ClassRegistrar>& registrars() {
    static auto* list = new std::vector<pal::detail::ClassRegistrar>;
    return *list;
}

} // namespace

void clearModel() {
    std::vector<HWND> mine;
    {
        Lock lock = lockModel();
        const DWORD self = currentThread();
        for (HWND h : model().topLevel) {
            if (Window* w = find(h); w && w->thread == self)
                mine.push_back(h);
        }
        for (HWND h : model().messageOnly) {
            if (Window* w = find(h); w && w->thread == self)
                mine.push_back(h);
        }
    }
    for (HWND h : mine) {
        if (IsWindow(h))
            DestroyWindow(h);
    }
    {
        Lock lock = lockModel();
        Model& m = model();
        for (HWND h : std::vector<HWND>(m.topLevel))
            removeSilently(h);
        for (HWND h : std::vector<HWND>(m.messageOnly))
            removeSilently(h);
        Queue& q = currentQueue();
        for (auto& s : q.sent) {
            s->done = true;
            s->failed = true;
        }
        q.sent.clear();
        q.posted.clear();
        q.input.clear();
        q.quit = false;
        q.timers.clear();
        q.keys = {};
        q.active = q.focus = nullptr;
        q.changed = 0;
        m.foreground = nullptr;
        m.capture = nullptr;
        m.leaveTracked = nullptr;
        m.heldBar = nullptr;
        m.cursor = POINT{};
        m.asyncKeys = {};
        m.cascade = 0;
        for (auto& [key, cls] : m.classes) {
            (void)key;
            userAtoms().remove(cls->atom);
        }
        m.classes.clear();
    }
    std::vector<pal::detail::ClassRegistrar> again;
    {
        Lock lock = lockModel();
        again = registrars();
    }
    for (auto registrar : again)
        registrar();
    pal::wait::notifyAll();
}

void addSystemClasses(pal::detail::ClassRegistrar registrar) {
    {
        Lock lock = lockModel();
        registrars().push_back(registrar);
    }
    registrar();
}

} // namespace pal::win

namespace pal::detail {

void clearWindows() {
    pal::win::clearModel();
}

void addSystemClasses(ClassRegistrar registrar) {
    pal::win::addSystemClasses(registrar);
}

} // namespace pal::detail
