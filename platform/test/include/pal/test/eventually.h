// Waiting in real time for something another process or thread does.
#pragma once

#include "pal/visibility.h"

#include <chrono>
#include <thread>

DV_EXPORTS_BEGIN

namespace pal::test {

// Polls `done` until it answers true or `seconds` have passed; whether it did. The bound is
// for a machine loaded far beyond the usual: a passing wait ends as soon as `done` answers.
template <class F> bool eventually(F done, int seconds = 60) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace pal::test

DV_EXPORTS_END
