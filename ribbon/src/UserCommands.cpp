#include "ribbon/UserCommands.h"

UINT CDVUserCommands::AddUserCommand(std::unique_ptr<CDVUserCommand>& command) {
    if (!command)
        return 0;
    UINT id = command->id >= CM_USER_COMMAND_FIRST && command->id <= CM_USER_COMMAND_LAST
                  ? command->id
                  : CM_USER_COMMAND_FIRST;
    while (Find(id) != nullptr) {
        if (++id > CM_USER_COMMAND_LAST)
            return 0;
    }
    command->id = id;
    m_commands[id] = std::move(command);
    return id;
}

CDVUserCommand* CDVUserCommands::Find(UINT id) const {
    const auto found = m_commands.find(id);
    return found != m_commands.end() ? found->second.get() : nullptr;
}

bool CDVUserCommands::Remove(UINT id) {
    return m_commands.erase(id) != 0;
}
