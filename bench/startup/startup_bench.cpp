// DravikCad started with the sample drawing to its first idle, its main window shown, then shut
// down, against the reference program (a window painted with Cairo and Pango: a sheet, 2,000
// lines and 100 runs of text). Whole processes, run alternately, each DravikCad run in a fresh
// sandbox of its own and writing no pictures. On the null display always, and on X11 as well
// when DISPLAY is set (run it under Xvfb). The syncs to the disk of each DravikCad run are
// counted by a preloaded counter, the registry's apart.
// Targets: the median run at most 3 times the reference's; at most 10 registry syncs a run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr int kRuns = 9;

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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

struct Syncs {
    int registry = 0, other = 0;
};

// The counts the preloaded counter appended, summed over the run's processes.
Syncs readSyncs(const fs::path& log) {
    Syncs total;
    std::ifstream in(log);
    std::string word1, word2;
    int registry = 0, other = 0;
    while (in >> word1 >> registry >> word2 >> other) {
        total.registry += registry;
        total.other += other;
    }
    return total;
}

// One display: kRuns alternate runs of each; false when a run failed.
bool measure(const char* display, const fs::path& bin, const fs::path& scratch) {
    setenv("DV_PAL_DISPLAY", display, 1);
    std::vector<double> program, reference, registrySyncs, otherSyncs;
    for (int run = 0; run < kRuns; ++run) {
        const fs::path root = scratch / ("root-" + std::string(display) + "-" + std::to_string(run));
        const fs::path log = scratch / "syncs.log";
        fs::remove(log);
        setenv("DV_PAL_ROOT", root.c_str(), 1);
        setenv("DV_BENCH_SYNC_LOG", log.c_str(), 1);
        setenv("LD_PRELOAD", (bin / "dvbench_sync_counter.so").c_str(), 1);
        const double p = timed({(bin / "DravikCad").string(), (scratch / "sample-a3.grb").string()});
        unsetenv("LD_PRELOAD");
        const double r = timed({(bin / "dvbench_startup_reference").string()});
        if (p < 0 || r < 0) {
            std::fprintf(stderr, "startup bench (%s): a run failed (DravikCad %s, reference %s)\n", display,
                         p < 0 ? "failed" : "ran", r < 0 ? "failed" : "ran");
            return false;
        }
        const Syncs s = readSyncs(log);
        program.push_back(p);
        reference.push_back(r);
        registrySyncs.push_back(s.registry);
        otherSyncs.push_back(s.other);
        fs::remove_all(root);
    }
    const double mp = median(program), mr = median(reference);
    std::printf("startup bench, %s display: whole processes, median (best) of %d runs\n", display, kRuns);
    std::printf("  DravikCad: start, drawing, window, shut-down %8.1f ms (%.1f)\n", mp * 1000,
                *std::min_element(program.begin(), program.end()) * 1000);
    std::printf("  X11/Cairo reference: window, picture        %8.1f ms (%.1f)\n", mr * 1000,
                *std::min_element(reference.begin(), reference.end()) * 1000);
    std::printf("  ratio                                        %8.2f (target <= 3.00)\n", mp / mr);
    std::printf("  syncs a run: registry %.0f (target <= 10), other files %.0f\n", median(registrySyncs),
                median(otherSyncs));
    return true;
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
    fs::copy_file(bin / "Samples" / "sample-a3.grb", scratch / "sample-a3.grb");
    // Nobody answers and no picture is kept: the program closes itself at its first idle.
    setenv("DV_PAL_TEST", "1", 1);
    setenv("DV_PAL_SNAPSHOTS", "0", 1);
    bool ok = measure("null", bin, scratch);
    if (ok && getenv("DISPLAY") != nullptr)
        ok = measure("x11", bin, scratch);
    fs::remove_all(scratch);
    return ok ? 0 : 1;
}
