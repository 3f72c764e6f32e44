#include "DravikKernel/SystemPanelValues.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

std::mutex g_lock;
std::map<std::pair<const Dravik::DVDocument*, int>, SysPanelIntValue> g_values;

} // namespace

void set_syspanel_int(Dravik::DVDocument* container, int id, int value) {
    std::lock_guard lock(g_lock);
    g_values[{container, id}].value = value;
}

void set_syspanel_intvar(Dravik::DVDocument* container, int id, int value, int variable) {
    std::lock_guard lock(g_lock);
    g_values[{container, id}] = SysPanelIntValue{value, variable};
}

SysPanelIntValue get_syspanel_int(const Dravik::DVDocument* container, int id) {
    std::lock_guard lock(g_lock);
    const auto it = g_values.find({container, id});
    return it == g_values.end() ? SysPanelIntValue{} : it->second;
}

void clear_syspanel_values(const Dravik::DVDocument* container) {
    std::lock_guard lock(g_lock);
    std::erase_if(g_values, [container](const auto& entry) { return entry.first.first == container; });
}
