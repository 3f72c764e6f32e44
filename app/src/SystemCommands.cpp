#include "app/SystemCommands.h"

#include "app/NamedCommandTable.h"

#include "DravikKernel/Commands.h"
#include "DravikKernel/GlobalContainer.h"

#include <string_view>

void RegisterSystemCommands(std::uint32_t editionMask) {
    DVCommandContainer& container = DVCommandContainer::Instance();
    GlobalContainer& session = GlobalContainer::Instance();
    for (const dvapp::NamedCommandRecord& row : dvapp::NamedCommandTable()) {
        if ((row.editionMask & editionMask) == 0)
            continue;
        const std::wstring_view name =
            row.name ? std::wstring_view(row.name, row.nameLength) : std::wstring_view();
        const DVCommandFlags flags(row.flags);
        const auto id = static_cast<unsigned>(row.registrationId);
        // Results are not checked: a row the container refuses is simply not available.
        if (row.documentRun != nullptr)
            container.RegisterCommand(
                new DVDocumentCommand(row.commandId, name, row.documentRun, row.update.document, flags), id);
        else if (row.systemRun != nullptr)
            container.RegisterCommand(
                new DVSystemCommand(row.commandId, name, row.systemRun, row.update.system, flags), id);
        else
            session.RegisterCmd(row.registrationId, name, static_cast<int>(row.commandId), flags);
    }
    for (const dvapp::CommandIdBlock& block : dvapp::kCommandIdBlocks)
        container.RegisterCommands(block.first, block.last, DVCommandFlags(block.flags));
}
