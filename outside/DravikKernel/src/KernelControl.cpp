#include "DravikKernel/detail/control.h"

#include "KernelState.h"
#include "SessionServices.h"

#include "DravikKernel/Commands.h"

namespace dvkernel {
void clearDocuments();
void resetCaption();
void clearUiModule();
void clearEditionModules();
} // namespace dvkernel

namespace dvkernel::detail {

void failStep(SessionStep step, bool fail) {
    std::lock_guard lock(state().mutex);
    if (fail)
        state().failing.insert(step);
    else
        state().failing.erase(step);
}

SessionState sessionState() {
    std::lock_guard lock(state().mutex);
    return state().session;
}

std::map<int, RegisteredCmd> registeredCommands() {
    std::lock_guard lock(state().mutex);
    std::map<int, RegisteredCmd> commands;
    for (const auto& [id, entry] : state().commands)
        commands[static_cast<int>(id)] = {entry.name, entry.commandId, entry.flags, entry.command != nullptr,
                                          entry.command && entry.command->isSystemCommand()};
    return commands;
}

bool macrosEnabled() {
    std::lock_guard lock(state().mutex);
    return state().macros;
}

std::wstring sessionLanguage() {
    std::lock_guard lock(state().mutex);
    return state().language;
}

bool metric() {
    std::lock_guard lock(state().mutex);
    return state().metric;
}

int brandCode() {
    std::lock_guard lock(state().mutex);
    return state().brand;
}

unsigned idleCount() {
    std::lock_guard lock(state().mutex);
    return state().idleCount;
}

void setCreateToolsMode(bool on) {
    std::lock_guard lock(state().mutex);
    state().createToolsMode = on;
}

void setProductIniFileName(const std::wstring& path) {
    std::lock_guard lock(state().mutex);
    state().productIni = path;
}

void failFileHash(bool fail) {
    std::lock_guard lock(state().mutex);
    state().failFileHash = fail;
}

void throwOnOpen(const std::wstring& path) {
    std::lock_guard lock(state().mutex);
    state().throwOnOpen = path;
}

void reset() {
    // The command objects go outside the lock: a destructor may be the shell's.
    std::map<unsigned, CommandEntry> commands;
    {
        std::lock_guard lock(state().mutex);
        KernelState& s = state();
        s.session = SessionState::Closed;
        s.failing.clear();
        commands.swap(s.commands);
        commandsChanged();
        s.macros = true;
        s.language.clear();
        s.metric = true;
        s.brand = 0;
        s.createToolsMode = false;
        s.idleCount = 0;
        s.productIni.clear();
        s.failFileHash = false;
        s.throwOnOpen.clear();
    }
    clearDocuments();
    resetCaption();
    clearUiModule();
    clearEditionModules();
    resetServices();
    setInstalledConfigurationsFolder({});
}

} // namespace dvkernel::detail
