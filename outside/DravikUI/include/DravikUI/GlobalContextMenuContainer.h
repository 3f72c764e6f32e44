// The UI library's container of the global context menus. Context-menu files name their
// commands by identifier ("CM_ELEM_PROPERTIES"); the container learns each id with its
// identifier from the shell, then completes its own registration.
#pragma once

#include "DravikUI/XMLDefinitions.h"

#include "pal/visibility.h"

#include <filesystem>
#include <vector>

#include <optional>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class GlobalContextMenuContainer {
public:
    // An id learnt again takes the new identifier. Ids outside 1 to 65535 and empty identifiers
    // are ignored.
    static void RegisterCommand(int id, std::wstring_view identifier);
    // Completes the registration: from now on the identifiers of context-menu files resolve.
    static void RegisterCommands();
    static bool IsRegistrationComplete();

    // The identifier learnt for an id, or none.
    static std::optional<std::wstring> GetIdentifier(int id);
    // The id of an identifier (compared exactly, as the files spell them), or none; none too
    // before the registration is complete.
    static std::optional<int> FindCommandId(std::wstring_view identifier);

    // Reads the global context-menus file (see FORMAT.md), replacing the menus read before.
    // Commands are named by identifier or given by id; an identifier that is not registered is
    // logged and skipped, as is every other invalid part. False when the file cannot be read or
    // its root is not a context-menus element; the menus read before are then kept.
    static bool Load(const std::filesystem::path& file);
    // A menu by name, as a tool-bar definition of its controls; none when there is no such menu.
    static std::optional<XML::ToolBar> GetContextMenu(std::wstring_view name);
    static std::vector<std::wstring> GetContextMenuNames();
};

} // namespace Dravik::UI

DV_EXPORTS_END
