// PartConv: converts the partition "<stem>.xmp_bin" into the part file "<stem>.xmt_bin".
// The stem is the command line after the program name. Exit code 0 when the part file was
// written; otherwise one line on standard error and a non-zero code (see partconv/run.h).
#include "pal/cmdline.h"
#include "pal/sandbox.h"
#include "partconv/run.h"
#include "win/system.h"

#include <csignal>
#include <cstdio>

namespace {

// A program that wrote the line itself meant every character of it. A line the platform rebuilt
// from the arguments a shell made holds quotes that nobody typed: the arguments are the stem.
std::wstring stemOfThisProcess() {
    const wchar_t* line = GetCommandLineW();
    if (pal::cmdline::givenByParent())
        return partconv::stemFromCommandLine(line);
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(line, &count);
    if (!argv)
        return partconv::stemFromCommandLine(line);
    const std::vector<std::wstring> args(argv, argv + count);
    LocalFree(argv);
    return partconv::stemFromArguments(args);
}

} // namespace

int main() {
    if (!pal::sandbox::prepare("PartConv"))
        return 1;
    // A part file past the file-size limit is a failed write, reported as one, rather than the
    // end of the process.
    std::signal(SIGXFSZ, SIG_IGN);
    partconv::Host host;
    return partconv::run(stemOfThisProcess(), host, stderr);
}
