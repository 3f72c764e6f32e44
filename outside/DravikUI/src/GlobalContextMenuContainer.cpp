#include "DravikUI/GlobalContextMenuContainer.h"

#include "DravikUI/detail/control.h"

#include "DVDiagnostics/Trace.h"

#include <map>
#include <mutex>

namespace {

struct ContextMenus {
    std::mutex mutex;
    std::map<int, std::wstring> identifiers;
    std::map<std::wstring, int, std::less<>> ids;
    bool complete = false;
};

ContextMenus& menus() {
    static ContextMenus* m = new ContextMenus;
    return *m;
}

} // namespace

namespace Dravik::UI {

void GlobalContextMenuContainer::RegisterCommand(int id, std::wstring_view identifier) {
    if (id < 1 || id > 0xFFFF || identifier.empty())
        return;
    std::lock_guard lock(menus().mutex);
    auto& known = menus().identifiers[id];
    if (!known.empty()) {
        const auto old = menus().ids.find(known);
        if (old != menus().ids.end() && old->second == id)
            menus().ids.erase(old);
    }
    known = identifier;
    menus().ids[known] = id;
}

void GlobalContextMenuContainer::RegisterCommands() {
    size_t count;
    {
        std::lock_guard lock(menus().mutex);
        menus().complete = true;
        count = menus().identifiers.size();
    }
    dvtrace::record("DravikUI",
                    "GlobalContextMenuContainer::RegisterCommands() with " + std::to_string(count));
}

bool GlobalContextMenuContainer::IsRegistrationComplete() {
    std::lock_guard lock(menus().mutex);
    return menus().complete;
}

std::optional<std::wstring> GlobalContextMenuContainer::GetIdentifier(int id) {
    std::lock_guard lock(menus().mutex);
    const auto it = menus().identifiers.find(id);
    if (it == menus().identifiers.end())
        return std::nullopt;
    return it->second;
}

std::optional<int> GlobalContextMenuContainer::FindCommandId(std::wstring_view identifier) {
    std::lock_guard lock(menus().mutex);
    if (!menus().complete)
        return std::nullopt;
    const auto it = menus().ids.find(identifier);
    if (it == menus().ids.end())
        return std::nullopt;
    return it->second;
}

} // namespace Dravik::UI

namespace dvui::detail {

void resetContextMenus() {
    std::lock_guard lock(menus().mutex);
    menus().identifiers.clear();
    menus().ids.clear();
    menus().complete = false;
}

} // namespace dvui::detail
