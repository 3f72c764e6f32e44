#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/NotBuiltYet.h"
#include "DVDiagnostics/Trace.h"
#include "DVDiagnostics/test/hooks.h"

#include "pal/notice.h"
#include "pal/path.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

// The two forms the shell's own helpers forward to.
void writeW(int level, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    DVLog_WriteWV(level, format, args);
    va_end(args);
}

class LogTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvlog::test::clearCapture();
    }
    fs::path file() const { return pal::path::toNative(DVLog_GetFileName()); }
};

TEST_F(LogTest, EveryLevelIsKeptWithItsText) {
    for (int level = 2; level <= 8; ++level)
        DVLog_Write(level, "level %d", level);
    const auto lines = dvlog::test::captured();
    ASSERT_EQ(lines.size(), 7u);
    for (int level = 2; level <= 8; ++level) {
        EXPECT_EQ(lines[level - 2].level, level);
        EXPECT_EQ(lines[level - 2].text, "level " + std::to_string(level));
    }
    EXPECT_EQ(dvlog::test::capturedAt(6), std::vector<std::string>{"level 6"});
}

// The narrow and wide forms follow the platform's format rules: in a wide format %s is
// wide and %hs narrow; in a narrow one %s is narrow and %ls wide.
TEST_F(LogTest, WideAndNarrowFormsFollowThePlatformRules) {
    struct Case {
        std::string expected;
        std::function<void()> write;
    };
    const Case cases[] = {
        {"Configuration file name \"C:\\x.ini\" specified in the command line is invalid and will be ignored",
         [] {
             writeW(6,
                    L"Configuration file name \"%ls\" specified in the command line is invalid and will be "
                    L"ignored",
                    L"C:\\x.ini");
         }},
        {"Loading mandatory module \"DVBOM.dll\" v18.0.21.0...",
         [] {
             writeW(2, L"Loading %s module \"%s\" v%u.%u.%u.%u...", L"mandatory", L"DVBOM.dll", 18u, 0u, 21u,
                    0u);
         }},
        {"narrow ÄÖ in wide", [] { writeW(2, L"%hs in wide", "narrow ÄÖ"); }},
        {"Initialized in 1234.056 ms", [] { DVLog_Write(2, "Initialized in %lld.%03lld ms", 1234LL, 56LL); }},
        {"wide Ж in narrow", [] { DVLog_Write(2, "%ls in narrow", L"wide Ж"); }},
        {"Failed to load optional module \"X\": 0x0000007e",
         [] { DVLog_Write(7, "Failed to load %s module \"%s\": 0x%08x", "optional", "X", 126u); }},
    };
    for (const auto& c : cases) {
        dvlog::test::clearCapture();
        c.write();
        const auto lines = dvlog::test::captured();
        ASSERT_EQ(lines.size(), 1u) << c.expected;
        EXPECT_EQ(lines[0].text, c.expected);
    }
}

TEST_F(LogTest, LinesReachTheFileInTheSandboxWithTheirLevel) {
    EXPECT_FALSE(DVLog_FileExists());
    DVLog_Write(8, "first\n");
    writeW(2, L"second %d", 2);
    ASSERT_TRUE(DVLog_FileExists());
    const fs::path f = file();
    EXPECT_EQ(f.string().rfind(root().string(), 0), 0u) << f << " lies outside the sandbox " << root();
    const std::string content = pal::test::readFile(f);
    const auto first = content.find("<8> first\n");
    const auto second = content.find("<2> second 2\n");
    EXPECT_NE(first, std::string::npos) << content;
    EXPECT_NE(second, std::string::npos) << content;
    EXPECT_LT(first, second);
    // A trailing line feed of the message does not make an empty line.
    EXPECT_EQ(content.find("\n\n"), std::string::npos);
}

TEST_F(LogTest, TheFileAndItsFolderAreTheUsersAlone) {
    const mode_t old = ::umask(0); // what is private must not depend on the umask
    DVLog_Write(2, "private");
    ::umask(old);
    ASSERT_TRUE(DVLog_FileExists());
    struct stat st {};
    ASSERT_EQ(::stat(file().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(pal::folders::localAppData().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

// What a platform layer tells the user (a registry file set aside) is in the log too.
TEST_F(LogTest, NoticesOfThePlatformAreLoggedAsWarnings) {
    testing::internal::CaptureStderr();
    pal::notice::say("registry: set aside");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "registry: set aside\n");
    EXPECT_EQ(dvlog::test::capturedAt(6), std::vector<std::string>{"registry: set aside"});
    EXPECT_NE(pal::test::readFile(file()).find("<6> registry: set aside\n"), std::string::npos);
}

TEST_F(LogTest, TheCaptureIsBounded) {
    for (int i = 0; i < 10005; ++i)
        DVLog_Write(2, "%d", i);
    const auto lines = dvlog::test::captured();
    ASSERT_EQ(lines.size(), 10000u);
    EXPECT_EQ(lines.front().text, "5");
    EXPECT_EQ(lines.back().text, "10004");
}

TEST_F(LogTest, TheLockKeepsWritersOfOtherThreadsOutUntilReleased) {
    ASSERT_TRUE(DVLog_Lock());
    DVLog_Write(2, "holder writes"); // the holder itself is not blocked
    std::atomic<bool> written{false};
    std::thread writer([&] {
        DVLog_Write(2, "other thread");
        written = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(written);
    const std::string whileLocked = pal::test::readFile(file());
    DVLog_Unlock();
    writer.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(whileLocked.find("other thread"), std::string::npos);
    EXPECT_NE(pal::test::readFile(file()).find("other thread"), std::string::npos);
}

TEST_F(LogTest, CleanupRemovesOnlyOldFilesOfEarlierRuns) {
    DVLog_Write(2, "this run");
    const fs::path folder = file().parent_path();
    const auto now = fs::file_time_type::clock::now();
    auto make = [&](const std::string& name, std::chrono::hours age) {
        const fs::path p = writeFile(fs::relative(folder / name, root()).string(), "x");
        fs::last_write_time(p, now - age);
        return p;
    };
    const fs::path old = make("DravikCad-old.log", std::chrono::hours(24 * 8));
    const fs::path recent = make("DravikCad-recent.log", std::chrono::hours(24 * 6));
    const fs::path other = make("notes.txt", std::chrono::hours(24 * 30));
    fs::last_write_time(file(), now - std::chrono::hours(24 * 30));

    DVLog_Cleanup(7);
    EXPECT_FALSE(fs::exists(old));
    EXPECT_TRUE(fs::exists(recent));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_TRUE(fs::exists(file()));
}

TEST_F(LogTest, AFreshSandboxGetsAFreshFile) {
    DVLog_Write(2, "in the first root");
    const fs::path first = file();
    TearDown();
    SetUp();
    EXPECT_FALSE(DVLog_FileExists());
    DVLog_Write(2, "in the second root");
    EXPECT_NE(file(), first);
    EXPECT_EQ(pal::test::readFile(file()).find("first root"), std::string::npos);
}

TEST(Trace, KeepsTheOrderAcrossLibraries) {
    dvtrace::test::clear();
    dvtrace::record("DravikKernel", "PreInitSession(1)");
    dvtrace::record("DravikUI", "SetProduct(1)");
    dvtrace::record("DravikKernel", "PostInitSession()");
    const auto all = dvtrace::test::calls();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1].library, "DravikUI");
    EXPECT_EQ(dvtrace::test::callsOf("DravikKernel"),
              (std::vector<std::string>{"PreInitSession(1)", "PostInitSession()"}));
}

} // namespace

namespace {

void placeholder() {
    DV_NOT_BUILT_YET("the first piece");
}

TEST(NotBuiltYet, EachSiteLogsOnceAtTheProgressLevel) {
    dvlog::test::clearCapture();
    for (int i = 0; i < 3; ++i) {
        placeholder();
        DV_NOT_BUILT_YET("the second piece");
    }
    const auto lines = dvlog::test::captured();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].level, DVLogProgress);
    EXPECT_EQ(lines[0].text.rfind("Not built yet: the first piece (log_test.cpp:", 0), 0u) << lines[0].text;
    EXPECT_EQ(lines[1].level, DVLogProgress);
    EXPECT_EQ(lines[1].text.rfind("Not built yet: the second piece (log_test.cpp:", 0), 0u) << lines[1].text;
}

} // namespace
