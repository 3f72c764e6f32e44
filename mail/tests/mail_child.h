// Runs the real DravikMail as a child process, as the main program starts it.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace dvmail::test {

enum class Input {
    Bytes,    // a pipe: the given bytes, then the end
    None,     // no standard input at all
    HeldOpen, // a pipe that the caller never writes to or closes while the child runs
};

struct ChildRun {
    std::vector<std::string> args; // after the program name, UTF-8
    Input input = Input::Bytes;
    std::string inputBytes;
    std::vector<std::pair<std::string, std::string>> env; // added to, or replacing, the test's own
    std::filesystem::path workingDir;
    std::filesystem::path errorFile; // where standard error goes; empty: the test's own
};

// The child's exit code. A child that has not ended after a generous bound is killed and
// reported as -1, so that a hang fails the test instead of stalling the run.
int runChild(const std::filesystem::path& program, const ChildRun& run);

} // namespace dvmail::test
