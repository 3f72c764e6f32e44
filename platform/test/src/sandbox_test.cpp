#include "pal/test/sandbox_test.h"

#include "pal/sandbox.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pal::test {

void SandboxTest::SetUp() {
    std::string pattern = (fs::temp_directory_path() / "dvtest-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr)
        << "cannot make a sandbox under " << fs::temp_directory_path();
    root_ = pattern;
    if (const char* previous = std::getenv("DV_PAL_ROOT"))
        previousRoot_ = previous;
    ::setenv("DV_PAL_ROOT", root_.c_str(), 1);
    ::setenv("DV_PAL_TEST", "1", 1);
    ::unsetenv("DV_PAL_ANSWERS");
    sandbox::reset();
    setManualClock(true);
    clearAnswers();
    clearWriteFailure();
}

void SandboxTest::TearDown() {
    if (!allowUnansweredPrompts) {
        for (const auto& e : journal("prompt.unanswered"))
            ADD_FAILURE() << "a prompt went unanswered: " << e.get("kind") << " \"" << e.get("caption")
                          << "\": " << e.get("text");
    }
    if (!allowRefusedAnswers) {
        for (const auto& e : journal("prompt.refused"))
            ADD_FAILURE() << "an answer was refused: " << e.get("kind") << " \"" << e.get("text")
                          << "\" answered \"" << e.get("answer") << "\": " << e.get("reason");
    }
    EXPECT_EQ(pendingAnswers(), 0u) << "answers were queued that no prompt used";
    clearAnswers();
    setManualClock(false);
    std::error_code ec;
    if (!HasFailure() || std::getenv("DV_KEEP_SANDBOX") == nullptr)
        fs::remove_all(root_, ec);
    if (previousRoot_)
        ::setenv("DV_PAL_ROOT", previousRoot_->c_str(), 1);
    else
        ::unsetenv("DV_PAL_ROOT");
    sandbox::reset();
}

fs::path SandboxTest::binDir() {
    std::error_code ec;
    return fs::read_symlink("/proc/self/exe", ec).parent_path();
}

fs::path SandboxTest::sourcePath(const std::string& relative) {
    const char* env = std::getenv("DV_SOURCE_DIR");
    return fs::path(env && *env ? env : DV_SOURCE_DIR) / relative;
}

std::vector<journal::Entry> SandboxTest::journal(const std::string& kind) const {
    auto all = journal::readAll();
    if (kind.empty())
        return all;
    std::vector<journal::Entry> some;
    for (auto& e : all)
        if (e.kind == kind)
            some.push_back(std::move(e));
    return some;
}

bool SandboxTest::killIfOurs(long pid) const {
    if (pid <= 0)
        return false;
    // Its environment names this sandbox: every program the test starts inherits the root.
    const std::string environment = readFile("/proc/" + std::to_string(pid) + "/environ");
    const std::string mark = "DV_PAL_ROOT=" + root_.string();
    bool ours = false;
    for (size_t at = 0; at < environment.size() && !ours;) {
        const size_t end = std::min(environment.find('\0', at), environment.size());
        ours = environment.compare(at, end - at, mark) == 0;
        at = end + 1;
    }
    return ours && ::kill(static_cast<pid_t>(pid), SIGKILL) == 0;
}

fs::path SandboxTest::writeFile(const std::string& relative, const std::string& bytes) const {
    const fs::path file = root_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace pal::test
