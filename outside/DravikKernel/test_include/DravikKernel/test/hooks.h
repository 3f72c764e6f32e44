// Test hooks of the kernel stand-in. Product targets cannot include this header.
//
// A child process started by a test (DV_PAL_TEST=1) reads injected step failures from the
// environment instead: DV_KERNEL_FAIL lists the failing steps by name, separated by commas
// ("PreInitSession,FinishInitSession"), and DV_PRODUCT_INI names the product INI.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace dvkernel::test {

enum class SessionStep { PreInitSession, PostInitSession, FinishInitSession };
enum class SessionState { Closed, PreInitialized, PostInitialized, Finished, Destroyed };

// Makes a step fail (or succeed again) from now on.
void failStep(SessionStep step, bool fail = true);
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

// Overrides the product INI's name; empty restores the rule of the program folder.
void setProductIniFileName(const std::wstring& path);

// Everything above back to the state of a fresh process: session closed, no failures, no
// commands, no locale, macros on, create-tools mode off, no documents, the default caption,
// no main window or frames, no edition module attached.
void reset();

} // namespace dvkernel::test
