// Sandbox roots a program cannot use, for the tests that every program stops cleanly on them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pal::test {

struct UnusableRoot {
    std::string name;
    std::string root; // the value of DV_PAL_ROOT
};

// Each way a root can be unusable (a file, under a file, too long, a dangling link, drive_c or
// run a file), built under `scratch`.
std::vector<UnusableRoot> unusableRoots(const std::filesystem::path& scratch);

// Starts `program` with each unusable root and expects, for each, the reason on standard error
// after "<stem of program>: " and a non-zero exit code, never a signal (abort, core dump).
void expectCleanStopOnUnusableRoots(const std::filesystem::path& program,
                                    const std::vector<std::string>& args,
                                    const std::filesystem::path& scratch);

} // namespace pal::test
