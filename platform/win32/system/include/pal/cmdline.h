// Command lines by the rules the platform's CommandLineToArgvW uses, both ways.
#pragma once

#include "pal/visibility.h"

#include <string>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

namespace pal::cmdline {

// Splits a command line. The first argument is the program name, with no escapes: when it starts
// with a quote it runs to the next quote (what follows at once starts the next argument), else to
// the first blank, quotes included. The others: blanks and tabs separate; 2n backslashes before a
// quote give n backslashes and the quote groups; 2n+1 give n backslashes and a literal quote;
// other backslashes are plain; inside a group two quotes give one literal quote. An empty line
// gives no arguments.
std::vector<std::wstring> split(std::wstring_view commandLine);

// One argument written so that split() reads it back as it stands (not the first one).
std::wstring quote(std::wstring_view argument);

// A command line whose split() is `argv`. The program name cannot hold a quote; one that does
// has its quotes dropped.
std::wstring join(const std::vector<std::wstring>& argv);

// True when this process's GetCommandLineW is the line its parent's CreateProcessW gave; false
// when the process was started from an argument vector and the line was rebuilt with join(), so
// that the quotes in it are the platform's and not the parent's.
bool givenByParent();

} // namespace pal::cmdline

DV_EXPORTS_END
