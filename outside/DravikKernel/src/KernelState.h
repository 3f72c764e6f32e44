// The stand-in kernel's process-wide state, shared by its source files and its control seam.
#pragma once

#include "DravikKernel/detail/control.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

class CDvw32Doc;

class DVCommand;

namespace dvkernel {

// One id of the command registry. The object is shared so that a command that is running
// survives its own unregistration.
struct CommandEntry {
    std::wstring name;
    int commandId = 0;
    std::uint32_t flags = 0;
    std::shared_ptr<DVCommand> command;
};

struct KernelState {
    std::mutex mutex;
    detail::SessionState session = detail::SessionState::Closed;
    std::set<detail::SessionStep> failing;
    std::map<unsigned, CommandEntry> commands;
    bool macros = true;
    std::wstring language;
    bool metric = true;
    int brand = 0;
    bool createToolsMode = false;
    unsigned idleCount = 0;
    std::wstring productIni;
    bool failFileHash = false;
    std::wstring throwOnOpen;
    std::vector<int> attached3D; // kinds of the attached 3D modules
    bool typedCommandsRefused = false;
    bool state3DA = false;
    bool state3DB = false;
    std::set<unsigned> unavailable3DCommands;
    std::map<unsigned, std::pair<int, int>> commandAnswers3D; // id: result, state
    std::map<unsigned, std::wstring> commandStrings3D;
    // What the attached 3D module opens of files that are not the kernel's, and its batch
    // open's answer.
    std::function<CDvw32Doc*(const std::wstring&)> foreignOpener3D;
    bool batchOpenRefused3D = false;
    // What the attached 3D module reads into a part document of a file of another format.
    std::function<bool(CDvw32Doc&, const std::wstring&, int)> partReader3D;
    // The profiles the 3D module offers per view object: names and colour indexes.
    std::map<const void*, std::pair<std::vector<std::wstring>, std::vector<std::int32_t>>> profiles3D;
    int editModules = 0;
};

KernelState& state();

// Counts the changes of the registered commands and of the texts the shell set for them; read
// through GlobalContainer::GetCommandTableVersion.
void commandsChanged();
std::uint64_t commandsVersion();

// The library's name in the call record.
inline constexpr const char* kTraceName = "DravikKernel";

} // namespace dvkernel
