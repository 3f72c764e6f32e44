// Test hooks of the kernel stand-in; they live in DravikKernel_test_hooks, which product targets
// never link.
//
// A child process started by a test (DV_PAL_TEST=1) reads injected step failures from the
// environment instead: DV_KERNEL_FAIL lists the failing steps by name, separated by commas
// ("PreInitSession,FinishInitSession"), and DV_PRODUCT_INI names the product INI.
#pragma once

#include "DravikKernel/detail/control.h"

#include <cstdint>
#include <map>
#include <string>

namespace dvkernel::test {

using SessionStep = detail::SessionStep;
using SessionState = detail::SessionState;

// Makes a step fail (or succeed again) from now on.
void failStep(SessionStep step, bool fail = true);
SessionState sessionState();

using RegisteredCmd = detail::RegisteredCmd;
std::map<int, RegisteredCmd> registeredCommands();

bool macrosEnabled();
std::wstring sessionLanguage();
bool metric();
int brandCode();
unsigned idleCount();
void setCreateToolsMode(bool on);

// Stands a folder of the test's for the installed configurations beside the program; empty
// restores it.
void setInstalledConfigurationsFolder(const std::wstring& folder);

// Overrides the product INI's name; empty restores the rule of the program folder.
void setProductIniFileName(const std::wstring& path);

// Reading a damaged disk or file: Dravik::FileHash fails from now on (or no longer); the next
// open of `path` throws (empty: none does).
void failFileHash(bool fail = true);
void throwOnOpen(const std::wstring& path);

// Everything above back to the state of a fresh process: session closed, no failures, no
// commands, no locale, macros on, create-tools mode off, no documents, the default caption,
// no main window or frames, no edition module attached.
void reset();

} // namespace dvkernel::test
