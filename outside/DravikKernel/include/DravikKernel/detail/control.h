// The kernel stand-in's session state read and steered from outside the library. Nothing in a
// program calls these: they are the seam that the test-only hooks library
// (DravikKernel/test/hooks.h) is built on.
#pragma once

#include "pal/visibility.h"

#include <cstdint>
#include <map>
#include <string>

DV_EXPORTS_BEGIN

namespace dvkernel::detail {

enum class SessionStep { PreInitSession, PostInitSession, FinishInitSession };
enum class SessionState { Closed, PreInitialized, PostInitialized, Finished, Destroyed };

void failStep(SessionStep step, bool fail);
SessionState sessionState();

struct RegisteredCmd {
    std::wstring name;
    int commandId = 0;
    std::uint32_t flags = 0;
    // Whether a command object (DVDocumentCommand or DVSystemCommand) carries the id, and which.
    bool hasCommand = false;
    bool systemCommand = false;
};
std::map<int, RegisteredCmd> registeredCommands();

bool macrosEnabled();
std::wstring sessionLanguage();
bool metric();
int brandCode();
unsigned idleCount();
void setCreateToolsMode(bool on);
void setProductIniFileName(const std::wstring& path);
// Reading a damaged disk or file: file hashes fail; the next open of `path` throws.
void failFileHash(bool fail);
void throwOnOpen(const std::wstring& path);
// The folder whose configurations count as installed; empty: the one beside the program.
void setInstalledConfigurationsFolder(const std::wstring& folder);

// Back to the state of a fresh process.
void reset();

} // namespace dvkernel::detail

DV_EXPORTS_END
