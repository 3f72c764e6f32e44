#include "mail_child.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace dvmail::test {

namespace {

std::vector<std::string> environment(const ChildRun& run) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
        std::string entry(*e);
        const auto eq = entry.find('=');
        if (eq != std::string::npos)
            vars[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [k, v] : run.env)
        vars[k] = v;
    std::vector<std::string> out;
    for (const auto& [k, v] : vars)
        out.push_back(k + '=' + v);
    return out;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (auto& s : strings)
        out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

void writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // the child stopped reading; what it did with the rest is what is tested
        done += static_cast<size_t>(n);
    }
}

int waitBounded(pid_t pid) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + seconds(60);
    int status = 0;
    for (;;) {
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (r < 0 && errno != EINTR)
            return -1;
        if (steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(milliseconds(5));
    }
}

} // namespace

int runChild(const std::filesystem::path& program, const ChildRun& run) {
    // A child that ends without reading makes writes fail with EPIPE instead of a signal.
    std::signal(SIGPIPE, SIG_IGN);

    std::vector<std::string> argv{program.string()};
    argv.insert(argv.end(), run.args.begin(), run.args.end());
    auto env = environment(run);
    auto argp = pointers(argv);
    auto envp = pointers(env);

    int pipeFds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (run.input == Input::None) {
        posix_spawn_file_actions_addclose(&actions, STDIN_FILENO);
    } else {
        if (::pipe2(pipeFds, O_CLOEXEC) != 0)
            return -1;
        posix_spawn_file_actions_adddup2(&actions, pipeFds[0], STDIN_FILENO);
    }
    if (!run.workingDir.empty())
        posix_spawn_file_actions_addchdir_np(&actions, run.workingDir.c_str());
    if (!run.errorFile.empty())
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, run.errorFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);

    pid_t pid = 0;
    const int started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (pipeFds[0] >= 0)
        ::close(pipeFds[0]);
    if (started != 0) {
        if (pipeFds[1] >= 0)
            ::close(pipeFds[1]);
        return -1;
    }
    if (run.input == Input::Bytes) {
        writeAll(pipeFds[1], run.inputBytes);
        ::close(pipeFds[1]);
    }
    const int code = waitBounded(pid);
    if (run.input == Input::HeldOpen)
        ::close(pipeFds[1]);
    return code;
}

} // namespace dvmail::test
