#include "pal/atomic_file.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AtomicFile : public pal::test::SandboxTest {
protected:
    size_t filesIn(const fs::path& folder) {
        size_t n = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
            ++n;
        return n;
    }
};

TEST_F(AtomicFile, WritesAndKeepsThePreviousVersionAsBackup) {
    const fs::path file = root() / "state.xml";
    ASSERT_TRUE(pal::writeFileAtomically(file, "one"));
    ASSERT_TRUE(pal::writeFileAtomically(file, "two"));
    EXPECT_EQ(pal::test::readFile(file), "two");
    EXPECT_EQ(pal::test::readFile(root() / "state.xml.bak"), "one");
    EXPECT_EQ(filesIn(root()), 2u);
}

TEST_F(AtomicFile, InjectedFailuresLeaveTheOldFileUntouchedAndNoTemporaryBehind) {
    using pal::test::WriteStep;
    const struct {
        WriteStep step;
        int error;
    } cases[] = {{WriteStep::Open, EACCES},
                 {WriteStep::Write, EIO},
                 {WriteStep::Fsync, EIO},
                 {WriteStep::Rename, EXDEV},
                 {WriteStep::DiskFull, ENOSPC}};
    const fs::path file = root() / "settings.ini";
    const std::string old = "[SETTINGS]\nConfig=3D\n";
    for (const auto& c : cases) {
        ASSERT_TRUE(pal::writeFileAtomically(file, old));
        fs::remove(root() / "settings.ini.bak");
        pal::test::injectWriteFailure(c.step, c.error);
        const auto outcome = pal::writeFileAtomically(file, std::string(100000, 'x'));
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_NE(outcome.message.find("settings.ini"), std::string::npos) << outcome.message;
        EXPECT_EQ(pal::test::readFile(file), old);
        for (const auto& e : fs::directory_iterator(root()))
            EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
    }
}

TEST_F(AtomicFile, ReplacementKeepsThePermissionsOfTheOldFile) {
    const fs::path file = root() / "private.ini";
    ASSERT_TRUE(pal::writeFileAtomically(file, "one"));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(pal::writeFileAtomically(file, "two"));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(pal::test::readFile(file), "two");
}

TEST_F(AtomicFile, AFolderThatDoesNotExistIsReportedNotCreatedSilently) {
    const auto outcome = pal::writeFileAtomically(root() / "missing" / "x.xml", "x");
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.error, ENOENT);
}

TEST_F(AtomicFile, BadFileIsSetAside) {
    const fs::path file = writeFile("state.xml", "<broken");
    const fs::path aside = pal::setAsideBadFile(file);
    EXPECT_EQ(aside, root() / "state.xml.bad");
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(pal::test::readFile(aside), "<broken");
}

// A writer killed at random points never leaves a torn or empty file: what is there is
// always one whole version. Seeded, bounded in kills and time.
TEST_F(AtomicFile, KilledWriterNeverLeavesATornFile) {
    const fs::path child = binDir() / "dvpal_atomic_writer_child";
    ASSERT_TRUE(fs::exists(child));
    const fs::path target = root() / "document.lst";
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> delayUs(200, 20000);
    for (int kill = 0; kill < 25; ++kill) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            execl(child.c_str(), child.c_str(), target.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own";
        if (!fs::exists(target))
            continue; // killed before the first version landed
        const std::string bytes = pal::test::readFile(target);
        ASSERT_FALSE(bytes.empty());
        unsigned long version = 0;
        size_t length = 0;
        ASSERT_EQ(std::sscanf(bytes.c_str(), "version %lu length %zu", &version, &length), 2)
            << bytes.substr(0, 40);
        const size_t header = bytes.find('\n') + 1;
        ASSERT_EQ(bytes.size() - header, length) << "torn file at kill " << kill;
        EXPECT_EQ(bytes.find_first_not_of(static_cast<char>('a' + version % 26), header), std::string::npos);
    }
}

} // namespace
