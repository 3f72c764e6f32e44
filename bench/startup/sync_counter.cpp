// Loaded into DravikCad by the start-up bench (LD_PRELOAD): counts the program's syncs of files to
// the disk, those of the registry's files apart, and appends "registry N other M" to the file
// DV_BENCH_SYNC_LOG names when the process ends.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace {

std::atomic<int> registrySyncs{0}, otherSyncs{0};

void count(int fd) {
    char link[64], target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    const std::string path = n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
    (path.find("registry.db") != std::string::npos ? registrySyncs : otherSyncs)++;
}

template <class F> F next(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

struct Report {
    ~Report() {
        const char* file = std::getenv("DV_BENCH_SYNC_LOG");
        if (!file)
            return;
        if (std::FILE* f = std::fopen(file, "a")) {
            std::fprintf(f, "registry %d other %d\n", registrySyncs.load(), otherSyncs.load());
            std::fclose(f);
        }
    }
} report;

} // namespace

extern "C" __attribute__((visibility("default"))) int fsync(int fd) {
    static const auto real = next<int (*)(int)>("fsync");
    count(fd);
    return real(fd);
}

extern "C" __attribute__((visibility("default"))) int fdatasync(int fd) {
    static const auto real = next<int (*)(int)>("fdatasync");
    count(fd);
    return real(fd);
}
