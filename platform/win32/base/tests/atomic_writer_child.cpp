// Rewrites one file with numbered versions until it is killed. Each version is a header line
// with its number and length, then a body of that length, so a torn file is detectable.
#include "pal/atomic_file.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const std::filesystem::path target = argv[1];
    for (unsigned long version = 1;; ++version) {
        const size_t length = 1000 + (version * 7919) % 50000;
        std::string body(length, static_cast<char>('a' + version % 26));
        std::string bytes =
            "version " + std::to_string(version) + " length " + std::to_string(length) + "\n" + body;
        if (!pal::writeFileAtomically(target, bytes)) {
            std::fprintf(stderr, "write failed\n");
            return 1;
        }
    }
}
