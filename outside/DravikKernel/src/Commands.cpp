#include "DravikKernel/Commands.h"
#include "DravikKernel/CommandCatalogue.h"

#include "KernelState.h"

#include "DVDiagnostics/Trace.h"
#include "afx/cmdtarget.h"
#include "pal/text.h"

#include <memory>

using namespace dvkernel;

namespace {

bool inCommandSpace(unsigned id) {
    return id >= 1 && id <= DVCommandContainer::kLastCommandId;
}

std::shared_ptr<DVCommand> commandOf(unsigned id) {
    std::lock_guard lock(state().mutex);
    const auto it = state().commands.find(id);
    return it == state().commands.end() ? nullptr : it->second.command;
}

} // namespace

int DVDocumentCommand::Run(CDvw32Doc* document, std::int64_t) {
    return document != nullptr && run_ != nullptr ? run_(document) : 0;
}

bool DVDocumentCommand::UpdateUI(CDvw32Doc* document, CCmdUI* cmdUI) {
    if (document == nullptr || cmdUI == nullptr || update_ == nullptr)
        return false;
    update_(document, cmdUI);
    return true;
}

int DVSystemCommand::Run(CDvw32Doc*, std::int64_t argument) {
    return run_ != nullptr ? run_(argument) : 0;
}

bool DVSystemCommand::UpdateUI(CDvw32Doc*, CCmdUI* cmdUI) {
    if (cmdUI == nullptr || update_ == nullptr)
        return false;
    update_(cmdUI);
    return true;
}

DVCommandContainer& DVCommandContainer::Instance() {
    static DVCommandContainer* instance = new DVCommandContainer;
    return *instance;
}

bool DVCommandContainer::RegisterCommand(DVCommand* command, unsigned id) {
    std::shared_ptr<DVCommand> owned(command);
    bool accepted = false;
    if (owned && inCommandSpace(id)) {
        std::lock_guard lock(state().mutex);
        CommandEntry& entry = state().commands[id];
        if (!entry.command) {
            commandsChanged();
            entry.name = owned->GetName();
            entry.commandId = static_cast<int>(owned->GetId());
            entry.flags = owned->GetFlags().raw();
            entry.command = owned;
            accepted = true;
        }
    }
    dvtrace::record(kTraceName, "RegisterCommand(" +
                                    std::string(command ? command->isSystemCommand() ? "system," : "document,"
                                                        : "null,") +
                                    std::to_string(id) + ")" + (accepted ? "" : " -> refused"));
    return accepted;
}

bool DVCommandContainer::RegisterCommand(unsigned id, std::wstring_view name, DVCommandFlags flags) {
    const bool accepted = inCommandSpace(id);
    if (accepted) {
        std::lock_guard lock(state().mutex);
        CommandEntry& entry = state().commands[id];
        commandsChanged();
        entry.name = name;
        entry.commandId = static_cast<int>(id);
        entry.flags = flags.raw();
    }
    dvtrace::record(kTraceName, "RegisterCommand(" + std::to_string(id) + "," + pal::text::toUtf8(name) +
                                    "," + std::to_string(flags.raw()) + ")" +
                                    (accepted ? "" : " -> refused"));
    return accepted;
}

void DVCommandContainer::RegisterCommands(unsigned first, unsigned last, DVCommandFlags flags) {
    {
        std::lock_guard lock(state().mutex);
        if (first < 1)
            first = 1;
        if (last > kLastCommandId)
            last = kLastCommandId;
        commandsChanged();
        for (unsigned id = first; id <= last; ++id)
            state().commands.try_emplace(id, CommandEntry{{}, static_cast<int>(id), flags.raw(), nullptr});
    }
    dvtrace::record(kTraceName, "RegisterCommands(" + std::to_string(first) + "," + std::to_string(last) +
                                    "," + std::to_string(flags.raw()) + ")");
}

bool DVCommandContainer::IsRegistered(unsigned id) const {
    std::lock_guard lock(state().mutex);
    return state().commands.count(id) > 0;
}

DVCommand* DVCommandContainer::GetCommand(unsigned id) const {
    return commandOf(id).get();
}

std::optional<std::wstring> DVCommandContainer::GetCommandName(unsigned id) const {
    std::lock_guard lock(state().mutex);
    const auto it = state().commands.find(id);
    if (it == state().commands.end())
        return std::nullopt;
    return it->second.name;
}

std::optional<unsigned> DVCommandContainer::GetCommandId(std::wstring_view name) const {
    if (name.empty())
        return std::nullopt;
    {
        std::lock_guard lock(state().mutex);
        for (const auto& [id, entry] : state().commands)
            if (entry.name.size() == name.size() && pal::text::equalsNoCase(entry.name, name))
                return id;
    }
    // The kernel's own commands are known by name before anybody registers them.
    for (const DVCatalogueCommand& command : DVCommandCatalogue())
        if (pal::text::equalsNoCase(command.name, name))
            return command.id;
    return std::nullopt;
}

DVCommandFlags DVCommandContainer::GetCommandFlags(unsigned id) const {
    std::lock_guard lock(state().mutex);
    const auto it = state().commands.find(id);
    return it == state().commands.end() ? DVCommandFlags() : DVCommandFlags(it->second.flags);
}

std::vector<unsigned> DVCommandContainer::GetCommandIds() const {
    std::lock_guard lock(state().mutex);
    std::vector<unsigned> ids;
    ids.reserve(state().commands.size());
    for (const auto& entry : state().commands)
        ids.push_back(entry.first);
    return ids;
}

std::optional<int> DVCommandContainer::RunCommand(unsigned id, CDvw32Doc* document, std::int64_t argument) {
    // Held outside the lock: the run function may register or unregister commands, its own
    // id among them.
    const std::shared_ptr<DVCommand> command = commandOf(id);
    if (!command)
        return std::nullopt;
    return command->Run(document, argument);
}

bool DVCommandContainer::UpdateCommandUI(unsigned id, CDvw32Doc* document, CCmdUI* cmdUI) {
    const std::shared_ptr<DVCommand> command = commandOf(id);
    return command && command->UpdateUI(document, cmdUI);
}

bool DVCommandContainer::OnCmdMsg(unsigned id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo,
                                  CDvw32Doc* activeDocument) {
    const std::shared_ptr<DVCommand> command = commandOf(id);
    if (!command)
        return false;
    const bool runnable = command->isSystemCommand() || activeDocument != nullptr;
    if (code == CN_UPDATE_COMMAND_UI) {
        auto* cmdUI = static_cast<CCmdUI*>(extra);
        if (cmdUI == nullptr)
            return false;
        if (!runnable)
            cmdUI->Enable(FALSE);
        else if (!command->UpdateUI(activeDocument, cmdUI))
            cmdUI->Enable(TRUE);
        return true;
    }
    if (code != CN_COMMAND || !runnable)
        return false;
    if (handlerInfo != nullptr)
        return true;
    command->Run(activeDocument, 0);
    return true;
}
