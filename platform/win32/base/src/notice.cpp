#include "pal/notice.h"

#include <atomic>
#include <cstdio>

namespace pal::notice {
namespace {

std::atomic<Sink>& sink() {
    static std::atomic<Sink> s{nullptr};
    return s;
}

} // namespace

void setSink(Sink s) {
    sink().store(s);
}

void say(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    if (const Sink s = sink().load())
        s(line);
}

} // namespace pal::notice
