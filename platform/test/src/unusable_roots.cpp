#include "pal/test/unusable_roots.h"

#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pal::test {

std::vector<UnusableRoot> unusableRoots(const fs::path& scratch) {
    fs::create_directories(scratch);
    std::ofstream(scratch / "file") << "a file, not a folder";
    std::error_code ec;
    fs::create_symlink(scratch / "missing" / "target", scratch / "dangling", ec);
    for (const std::string inside : {"drive_c", "run"}) {
        fs::create_directories(scratch / (inside + "-file"));
        std::ofstream(scratch / (inside + "-file") / inside) << "in the way";
    }
    fs::create_directories(scratch / "profile-file" / "drive_c" / "Users");
    std::ofstream(scratch / "profile-file" / "drive_c" / "Users" / "tester") << "in the way";
    return {
        {"a file", (scratch / "file").string(), {}},
        {"under a file", (scratch / "file" / "root").string(), {}},
        {"too long", (scratch / std::string(300, 'x')).string(), {}},
        {"a dangling link", (scratch / "dangling").string(), {}},
        {"drive_c a file", (scratch / "drive_c-file").string(), {}},
        {"run a file", (scratch / "run-file").string(), {}},
        {"the profile folder a file", (scratch / "profile-file").string(), {{"USER", "tester"}}},
        {"a user name of 300 characters",
         (scratch / "long-user").string(),
         {{"USER", std::string(300, 'u')}}},
    };
}

ProgramEnding runProgram(const fs::path& program, const std::vector<std::string>& args,
                         const fs::path& errFile, const Environment& environment) {
    std::vector<std::string> argv{program.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (auto& a : argv)
        raw.push_back(a.data());
    raw.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(err, 2) < 0)
            ::_exit(126);
        for (const auto& [name, value] : environment) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
        ::execv(raw[0], raw.data());
        ::_exit(127);
    }
    ProgramEnding e;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status))
        e.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        e.signal = WTERMSIG(status);
    e.err = readFile(errFile);
    return e;
}

void expectCleanStopOnUnusableRoots(const fs::path& program, const std::vector<std::string>& args,
                                    const fs::path& scratch) {
    const std::string said = program.stem().string() + ": cannot create the ";
    for (const auto& c : unusableRoots(scratch)) {
        Environment environment = c.environment;
        environment.emplace_back("DV_PAL_ROOT", c.root);
        const ProgramEnding e = runProgram(program, args, scratch / "stderr.txt", environment);
        EXPECT_EQ(e.signal, 0) << c.name << ": " << e.err;
        EXPECT_GT(e.exitCode, 0) << c.name << ": " << e.err;
        EXPECT_EQ(e.err.rfind(said, 0), 0u) << c.name << ": " << e.err;
        EXPECT_EQ(e.err.find('\n'), e.err.size() - 1) << c.name << ": one line, not " << e.err;
    }
}

} // namespace pal::test
