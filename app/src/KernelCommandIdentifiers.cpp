#include "app/KernelCommandIdentifiers.h"

#include "DravikKernel/Commands.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikUI/GlobalContextMenuContainer.h"

#include <algorithm>
#include <array>
#include <atomic>

namespace {

// Indexed by command id; written once by the registration, read afterwards.
std::array<std::atomic<const wchar_t*>, 0x10000> g_identifiers{};

// These ids are the command container's own; the others are the session's.
constexpr std::uint32_t kContainerIds[] = {8390, 8392, 8393, 8394, 65250, 65251, 65252, 65253, 65254};

bool belongsToContainer(std::uint32_t id) {
    return std::find(std::begin(kContainerIds), std::end(kContainerIds), id) != std::end(kContainerIds);
}

} // namespace

void RegisterApplicationCommands() {
    DVCommandContainer& container = DVCommandContainer::Instance();
    GlobalContainer& session = GlobalContainer::Instance();
    for (const dvapp::KernelIdentifierRecord& row : dvapp::KernelIdentifierTable()) {
        // A repeated id takes the later row.
        g_identifiers[row.id].store(row.identifier, std::memory_order_release);
        const DVCommandFlags flags(row.flags);
        if (belongsToContainer(row.id))
            container.RegisterCommand(row.id, row.name, flags);
        else
            session.RegisterCmd(static_cast<int>(row.id), row.name, static_cast<int>(row.id), flags);
        Dravik::UI::GlobalContextMenuContainer::RegisterCommand(static_cast<int>(row.id), row.identifier);
    }
    Dravik::UI::GlobalContextMenuContainer::RegisterCommands();
    session.RegisterCmd(2104, L"StereoMode", 2104, DVCommandFlags(0));
}

const wchar_t* GetCommandName(std::uint32_t id) {
    if (id < 1 || id >= g_identifiers.size())
        return nullptr;
    return g_identifiers[id].load(std::memory_order_acquire);
}
