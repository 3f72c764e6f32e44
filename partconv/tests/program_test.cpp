// The PartConv program as another program starts it: command line, exit code, standard error.
#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/unusable_roots.h"
#include "pal/text.h"
#include "partconv/run.h"
#include "test_support.h"
#include "win/system.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace partconv {
namespace {

namespace fs = std::filesystem;
using namespace partconv::testing;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ProgramTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        work_ = root() / "work";
        fs::create_directories(work_);
    }

    // Runs PartConv in the work folder with these arguments after the program name.
    Outcome run(const std::vector<std::string>& args) const {
        const fs::path program = binDir() / "PartConv";
        const fs::path out = root() / "stdout.txt";
        const fs::path err = root() / "stderr.txt";
        std::vector<std::string> argv{program.string()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> raw;
        for (auto& a : argv)
            raw.push_back(a.data());
        raw.push_back(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 || ::chdir(work_.c_str()) != 0)
                ::_exit(126);
            ::execv(raw[0], raw.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        Outcome result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = pal::test::readFile(out);
        result.err = pal::test::readFile(err);
        return result;
    }

    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(work_ / name, std::ios::binary) << bytes;
    }

    fs::path work_;
};

TEST_F(ProgramTest, SaysWhyAndEndsWhenItsSandboxCannotBeMade) {
    pal::test::expectCleanStopOnUnusableRoots(binDir() / "PartConv", {"gear"}, root() / "scratch");
}

TEST_F(ProgramTest, ConvertsTheStemGivenOnTheCommandLineAndEndsWith0) {
    put("gear.xmp_bin",
        partitionHeader("gear.xmp_bin") + pskernel::content::encodePartition({body("teeth")}));
    const Outcome o = run({"gear"});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.out, "");
    const PartFile part = splitPartFile(pal::test::readFile(work_ / "gear.xmt_bin"));
    ASSERT_TRUE(part.decoded);
    ASSERT_EQ(part.parts.size(), 1u);
    EXPECT_EQ(part.parts[0].geometry, "teeth");
    EXPECT_THAT(part.headerLines, ::testing::Contains(::testing::MatchesRegex("DATE=[0-9]+-[a-z]+-[0-9]+;")));
}

TEST_F(ProgramTest, TheWholeCommandLineIsTheStem) {
    put("two words.xmp_bin", pskernel::content::encodePartition({}));
    const Outcome o = run({"two", "words"});
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_TRUE(fs::exists(work_ / "two words.xmt_bin"));
}

TEST_F(ProgramTest, AMissingPartitionLeavesTheEarlierPartFileAndEndsWithOneLine) {
    put("lost.xmt_bin", "earlier part");
    const Outcome o = run({"lost"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_THAT(o.err, ::testing::StartsWith("PartConv: cannot receive the partition \"lost.xmp_bin\""));
    EXPECT_EQ(pal::test::readFile(work_ / "lost.xmt_bin"), "earlier part");
}

TEST_F(ProgramTest, ACorruptPartitionWritesNoPartFile) {
    put("bad.xmp_bin",
        pal::test::readFile(sourcePath("partconv/tests/fixtures/huge_geometry_length.xmp_bin")));
    const Outcome o = run({"bad"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_FALSE(fs::exists(work_ / "bad.xmt_bin"));
}

TEST(CommandLine, TheStemIsEverythingAfterTheProgramName) {
    const std::vector<std::pair<std::wstring, std::wstring>> cases{
        {L"PartConv gear", L"gear"},
        {L"PartConv", L""},
        {L"PartConv \t two  words ", L"two  words "},
        {L"PartConv \"quoted\" stem", L"\"quoted\" stem"},
        {L"\"C:\\Program Files\\PartConv.exe\" C:\\Parts\\Gear", L"C:\\Parts\\Gear"},
        {L"\"C:\\Program Files\\PartConv.exe\"", L""},
    };
    for (const auto& [line, stem] : cases)
        EXPECT_EQ(stemFromCommandLine(line), stem) << pal::text::toUtf8(line);
}

// Started as another program starts it, with a line whose quotes and blanks are part of the stem.
TEST_F(ProgramTest, QuotesAndBlanksOfTheCommandLineStayInTheStem) {
    const std::string stem = "two  \"words\"";
    put(stem + ".xmp_bin", pskernel::content::encodePartition({body("kept")}));
    std::wstring line = L"PartConv " + pal::text::fromUtf8(stem);
    const std::wstring folder = pal::path::fromNative(work_);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi));
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 30'000), WAIT_OBJECT_0);
    DWORD code = 99;
    ASSERT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    EXPECT_EQ(code, 0u);
    const PartFile part = splitPartFile(pal::test::readFile(work_ / (stem + ".xmt_bin")));
    ASSERT_TRUE(part.decoded);
    ASSERT_EQ(part.parts.size(), 1u);
    EXPECT_EQ(part.parts[0].geometry, "kept");
}

} // namespace
} // namespace partconv
