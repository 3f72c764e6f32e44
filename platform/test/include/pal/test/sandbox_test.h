// The fixture every test of the system derives from: a fresh sandbox root per test, exported
// to child processes, a manual clock, an empty responder queue, and a check at the end that
// no prompt went unanswered.
#pragma once

#include "pal/journal.h"
#include "pal/test/hooks.h"
#include "pal/visibility.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace pal::test {

class SandboxTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::filesystem::path& root() const { return root_; }
    // The folder of the built programs and libraries.
    static std::filesystem::path binDir();
    // A file of the source tree, for fixtures: sourcePath("image/tests/fixtures/x.png").
    static std::filesystem::path sourcePath(const std::string& relative);

    // Every journal entry of this test's sandbox (all processes), optionally of one kind.
    std::vector<journal::Entry> journal(const std::string& kind = {}) const;
    // Kills a program this test started, by the pid its journal gave, only while that pid is
    // still a process of this test's sandbox: pids come round again quickly on a busy machine,
    // and a pid reused by another test's process must never be killed. Whether it killed.
    bool killIfOurs(long pid) const;
    void answer(int reply) { pushAnswer(reply); }
    void answer(const std::wstring& reply) { pushAnswer(reply); }
    void advance(std::uint64_t ms) { advanceClock(ms); }

    // Writes a file under the sandbox root (creating folders) and returns its path.
    std::filesystem::path writeFile(const std::string& relative, const std::string& bytes) const;

    // Set in a test that expects prompts to go unanswered.
    bool allowUnansweredPrompts = false;
    // Set in a test that expects a queued answer to be refused.
    bool allowRefusedAnswers = false;

private:
    std::filesystem::path root_;
    // The root the process had before the test (ctest gives each test program one inside the
    // build); put back afterwards, so that whatever runs after the test never reaches the
    // person's own sandbox.
    std::optional<std::string> previousRoot_;
};

// Reads a whole file; empty when missing.
std::string readFile(const std::filesystem::path& file);

} // namespace pal::test

DV_EXPORTS_END
