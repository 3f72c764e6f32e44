// Sandbox roots a program cannot use, for the tests that every program stops cleanly on them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pal::test {

using Environment = std::vector<std::pair<std::string, std::optional<std::string>>>;

struct UnusableRoot {
    std::string name;
    std::string root;        // the value of DV_PAL_ROOT
    Environment environment; // and what else the case sets (the user's name)
};

// How a program run to its end ended: its exit code or the signal that ended it, and what it wrote
// to standard error.
struct ProgramEnding {
    int exitCode = -1;
    int signal = 0;
    std::string err;
};

// Runs `program` with `args` to its end (killed after a minute), its standard input empty and its
// standard error kept in `errFile`; `environment` sets variables (a value) or removes them (none).
ProgramEnding runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::filesystem::path& errFile, const Environment& environment);

// Each way a root can be unusable (a file, under a file, too long, a dangling link, drive_c or
// run a file) or its profile folder cannot be made (a file in its place, a user name of 300
// characters), built under `scratch`.
std::vector<UnusableRoot> unusableRoots(const std::filesystem::path& scratch);

// Starts `program` with each unusable root and expects, for each, the reason on standard error
// as one line after "<stem of program>: " and a non-zero exit code, never a signal (abort, core
// dump).
void expectCleanStopOnUnusableRoots(const std::filesystem::path& program,
                                    const std::vector<std::string>& args,
                                    const std::filesystem::path& scratch);

} // namespace pal::test
