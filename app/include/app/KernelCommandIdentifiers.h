// The kernel's command identifiers that the shell makes known: each id with its registered
// name, its command flags and its identifier ("CM_3D_DUMMY"), registered once per process by the
// main initialisation; the id-to-identifier look-up answers the callback object's name queries.
#pragma once

#include "pal/visibility.h"

#include <cstdint>
#include <span>
#include <string_view>

DV_EXPORTS_BEGIN

namespace dvapp {

struct KernelIdentifierRecord {
    std::uint32_t id;
    std::wstring_view name; // empty for ids registered without a name
    std::uint32_t flags;    // the command's DVCommandFlag set
    const wchar_t* identifier;
};

// In registration order.
std::span<const KernelIdentifierRecord> KernelIdentifierTable();

} // namespace dvapp

// Registers every row with the kernel's registries (a few ids with the command container
// itself, the rest with the session) and with the context-menu container, fills the look-up,
// completes the context-menu container and registers "StereoMode" (2104).
void RegisterApplicationCommands();

// The identifier registered for a command id; null for 0, ids above 65535 and ids the table
// does not hold (or before the registration).
const wchar_t* GetCommandName(std::uint32_t id);

DV_EXPORTS_END
