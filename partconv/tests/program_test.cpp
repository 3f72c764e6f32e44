// The PartConv program as another program starts it: command line, exit code, standard error.
#include "pal/binaries.h"
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

#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

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

    // Runs PartConv in the work folder with these arguments after the program name; with a
    // file-size limit when one is given. A run that does not end within 30 s is killed.
    Outcome run(const std::vector<std::string>& args, rlim_t fileSizeLimit = RLIM_INFINITY) const {
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
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 || ::chdir(work_.c_str()) != 0 ||
                ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(126);
            ::execv(raw[0], raw.data());
            ::_exit(127);
        }
        int status = 0;
        for (int waited = 0; ::waitpid(pid, &status, WNOHANG) == 0; ++waited) {
            if (waited == 3000) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
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

// Started from a person's shell: the process gets an argument vector, and the stem is what
// was typed, the arguments joined by single blanks.
TEST_F(ProgramTest, FromAShellTheStemIsWhatWasTyped) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"two words"}, "two words"},    // PartConv "two words"
        {{"two", "words"}, "two words"}, // PartConv two words
        {{"two", "", "words"}, "two  words"},
        {{"a  b"}, "a  b"},             // PartConv "a  b": the blanks inside stay
        {{"\"quoted\""}, "\"quoted\""}, // PartConv '"quoted"': quotes typed as part of the name
        {{"it's"}, "it's"},
    };
    for (const auto& [args, stem] : cases) {
        SCOPED_TRACE(stem);
        put(stem + ".xmp_bin", pskernel::content::encodePartition({body("typed")}));
        const Outcome o = run(args);
        EXPECT_EQ(o.exitCode, 0) << o.err;
        const PartFile part = splitPartFile(pal::test::readFile(work_ / (stem + ".xmt_bin")));
        ASSERT_TRUE(part.decoded);
        ASSERT_EQ(part.parts.size(), 1u);
        EXPECT_EQ(part.parts[0].geometry, "typed");
        fs::remove(work_ / (stem + ".xmt_bin"));
    }
}

TEST(CommandLine, ArgumentsAreJoinedBySingleBlanks) {
    const std::vector<std::pair<std::vector<std::wstring>, std::wstring>> cases{
        {{L"PartConv"}, L""},
        {{L"PartConv", L"gear"}, L"gear"},
        {{L"PartConv", L"two words"}, L"two words"},
        {{L"PartConv", L"two", L"words"}, L"two words"},
        {{L"PartConv", L"\"q\"", L" x "}, L"\"q\"  x "},
    };
    for (const auto& [args, stem] : cases)
        EXPECT_EQ(stemFromArguments(args), stem) << pal::text::toUtf8(stem);
}

// Past the file-size limit the write fails: the earlier part file keeps every byte and no
// temporary file is left beside it.
TEST_F(ProgramTest, APartFilePastTheFileSizeLimitLeavesTheEarlierOne) {
    put("big.xmp_bin", pskernel::content::encodePartition({body(std::string(256 * 1024, 'g'))}));
    const std::string earlier = "earlier part file";
    put("big.xmt_bin", earlier);
    const Outcome o = run({"big"}, 128 * 1024);
    EXPECT_EQ(o.exitCode, exitNotWritten) << o.err;
    EXPECT_THAT(o.err, ::testing::StartsWith("PartConv: cannot write the part file \"big.xmt_bin\""));
    EXPECT_EQ(pal::test::readFile(work_ / "big.xmt_bin"), earlier);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(work_))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"big.xmp_bin", "big.xmt_bin"}));
}

// A partition that is a pipe or a device fails at once instead of waiting or reading forever.
TEST_F(ProgramTest, APartitionThatIsNoRegularFileFailsAtOnce) {
    ASSERT_EQ(::mkfifo((work_ / "pipe.xmp_bin").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", work_ / "zero.xmp_bin");
    for (const std::string stem : {"pipe", "zero"}) {
        const auto started = std::chrono::steady_clock::now();
        const Outcome o = run({stem});
        EXPECT_EQ(o.exitCode, exitNotReceived) << stem << ": " << o.err;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20)) << stem;
        EXPECT_FALSE(fs::exists(work_ / (stem + ".xmt_bin")));
    }
}

// The APPL= line of the header names the version the program file carries.
TEST_F(ProgramTest, TheHeaderNamesTheProgramsOwnVersion) {
    const auto version = pal::binaries::fileVersion(binDir() / "PartConv");
    ASSERT_TRUE(version) << "PartConv has a file version";
    put("v.xmp_bin", pskernel::content::encodePartition({}));
    ASSERT_EQ(run({"v"}).exitCode, 0);
    const std::string appl = "APPL=PartConv " + std::to_string((*version)[0]) + "." +
                             std::to_string((*version)[1]) + "." + std::to_string((*version)[2]) + "." +
                             std::to_string((*version)[3]) + ";";
    EXPECT_THAT(splitPartFile(pal::test::readFile(work_ / "v.xmt_bin")).headerLines,
                ::testing::Contains(appl));
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
