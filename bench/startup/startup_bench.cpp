// DravikCad started on the null display with the sample drawing, to its first idle, its main
// window's picture written and the program shut down, against the reference program (Cairo and
// Pango started, a full-HD picture with 100 runs of text written as PNG). Whole processes, run
// alternately in a sandbox of their own; the best of several runs of each is compared.
// Target: DravikCad takes at most 5 times as long as the reference.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr int kRuns = 5;

// Seconds the program took to its end; negative when it failed.
double timed(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

fs::path programFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

} // namespace

int main() {
    const fs::path bin = programFolder();
    char pattern[] = "/tmp/dvbench-startup-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("startup bench");
        return 1;
    }
    const fs::path scratch = pattern;
    // Its own world, nobody at a display: DravikCad writes its window's picture and ends.
    setenv("DV_PAL_ROOT", (scratch / "root").c_str(), 1);
    setenv("DV_PAL_DISPLAY", "null", 1);
    unsetenv("DV_PAL_SNAPSHOTS");
    const fs::path drawing = scratch / "sample-a3.grb";
    fs::copy_file(bin / "Samples" / "sample-a3.grb", drawing);

    double best = 1e9, bestReference = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        const double program = timed({(bin / "DravikCad").string(), drawing.string()});
        const double reference =
            timed({(bin / "dvbench_startup_reference").string(), (scratch / "reference.png").string()});
        if (program < 0 || reference < 0) {
            std::fprintf(stderr, "startup bench: a run failed (DravikCad %s, reference %s)\n",
                         program < 0 ? "failed" : "ran", reference < 0 ? "failed" : "ran");
            fs::remove_all(scratch);
            return 1;
        }
        best = std::min(best, program);
        bestReference = std::min(bestReference, reference);
    }
    fs::remove_all(scratch);
    std::printf("startup bench: whole processes, best of %d runs\n", kRuns);
    std::printf("  DravikCad: start, drawing, picture, shut-down  %8.1f ms\n", best * 1000);
    std::printf("  Cairo and Pango: picture with 100 text runs    %8.1f ms\n", bestReference * 1000);
    std::printf("  ratio                                          %8.2f (target <= 5.00)\n",
                best / bestReference);
    return 0;
}
