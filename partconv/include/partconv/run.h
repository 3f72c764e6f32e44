// One conversion: the partition in "<stem>.xmp_bin" becomes the part file "<stem>.xmt_bin".
#pragma once

#include "pal/visibility.h"
#include "partconv/delta_store.h"
#include "partconv/kernel_files.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

namespace partconv {

// What the kernel uses of the process for the run; it lives as long as the kernel session.
struct Host {
    KernelFiles files;
    DeltaStore deltas;
};

enum ExitCode : int {
    exitConverted = 0,
    exitNotReceived = 1, // the partition could not be received; no part file was written
    exitNotWritten = 2,  // the part file could not be written
};

// Runs the conversion with `host` bound to the kernel's callbacks for its length. A failure is
// reported as one line on `errors`.
int run(std::wstring_view stem, Host& host, std::FILE* errors);

// The stem from a command line a starting program wrote itself: the line as the process
// received it, after the program name and the blanks that follow it; quotes and any other
// blanks stay.
std::wstring stemFromCommandLine(std::wstring_view commandLine);
// The stem from an argument vector (the program name first), as a person's shell hands it
// over: what was typed, the arguments joined by single blanks, with no quotes of the line's.
std::wstring stemFromArguments(const std::vector<std::wstring>& args);

} // namespace partconv

DV_EXPORTS_END
