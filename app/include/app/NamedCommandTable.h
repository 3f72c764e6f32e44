// The named application-command table: every command the shell implements itself, with its
// run and update functions, and the bare ids it makes known by name. Registered once per
// session for the edition (RegisterSystemCommands).
#pragma once

#include "pal/visibility.h"

#include <cstdint>
#include <span>

DV_EXPORTS_BEGIN

class CCmdUI;
class CDvw32Doc;

namespace dvapp {

using DocumentRunFunction = int (*)(CDvw32Doc*);
using SystemRunFunction = int (*)(std::int64_t);
using DocumentUpdateFunction = void (*)(CDvw32Doc*, CCmdUI*);
using SystemUpdateFunction = void (*)(CCmdUI*);

// The optional update function of a row, of the kind of its run function.
struct UpdateFunction {
    DocumentUpdateFunction document = nullptr;
    SystemUpdateFunction system = nullptr;

    constexpr UpdateFunction() = default;
    constexpr UpdateFunction(DocumentUpdateFunction function) : document(function) {}
    constexpr UpdateFunction(SystemUpdateFunction function) : system(function) {}
};

struct NamedCommandRecord {
    const wchar_t* name;      // null for a bare id without a name
    std::uint64_t nameLength; // 0 when the name is null
    std::int32_t registrationId;
    DocumentRunFunction documentRun; // set for document commands
    SystemRunFunction systemRun;     // set for system commands
    UpdateFunction update;
    std::uint32_t editionMask; // registered when it shares a bit with the session's edition mask
    std::uint32_t commandId;   // the id inside the command object
    std::uint32_t flags;       // the command's DVCommandFlag set
};

// Edition masks of the table: every edition bit but 64; the same without 2D and GS; the generic
// editions and AlderAdministrator.
inline constexpr std::uint32_t kEveryEdition = 959;
inline constexpr std::uint32_t kEditionsWith3D = 941;
inline constexpr std::uint32_t kGenericEditions = 575;

// In registration order.
std::span<const NamedCommandRecord> NamedCommandTable();

// Blocks of bare ids registered after the table, in this order.
struct CommandIdBlock {
    std::uint32_t first;
    std::uint32_t last;
    std::uint32_t flags;
};
inline constexpr CommandIdBlock kCommandIdBlocks[] = {{700, 749, 8}, {3401, 3449, 24}, {65000, 65049, 24}};

} // namespace dvapp

DV_EXPORTS_END
