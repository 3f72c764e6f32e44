// dvpal_file_holder <native path> [open|lock]: opens the file for reading (with "lock", takes an
// exclusive lock on it too), writes "ready" on its standard output, and keeps the file until its
// standard input ends. Exits 2 when the file cannot be opened or locked.
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    // O_CLOEXEC and no other descriptor: the file is held by this process alone.
    const int fd = ::open(argv[1], O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 2;
    if (argc > 2 && std::strcmp(argv[2], "lock") == 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return 2;
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    char buffer[64];
    while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    ::close(fd);
    return 0;
}
