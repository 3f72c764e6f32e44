// The record of effects that leave the process's own model: shell launches, help, taskbar,
// sounds, foreground changes, restarts. Every process of a sandbox appends to one file,
// <root>/journal.log, so tests read what child processes did as well.
#pragma once

#include "pal/visibility.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

DV_EXPORTS_BEGIN

namespace pal::journal {

struct Entry {
    long pid = 0;
    std::string kind;
    std::vector<std::pair<std::string, std::string>> fields; // UTF-8

    // The value of the first field named `key`, or empty.
    std::string get(std::string_view key) const;
    bool has(std::string_view key) const;
};

void record(std::string kind, std::vector<std::pair<std::string, std::string>> fields = {});
// Every entry of the sandbox's journal, oldest first.
std::vector<Entry> readAll();

} // namespace pal::journal

namespace pal::effects {

// True under the test fixture (DV_PAL_TEST=1): effects are journaled and nothing is launched.
bool underTest();
// Starts a program from an argument vector, detached, unless under test. Never a shell string.
// Returns false when it could not be started.
bool launchDetached(const std::vector<std::string>& argv);

} // namespace pal::effects

DV_EXPORTS_END
