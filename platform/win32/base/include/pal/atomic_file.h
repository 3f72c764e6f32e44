// One way to write every file the system keeps: a temporary file in the same folder, flushed,
// renamed over the target, the folder flushed. The previous good file is kept as "<name>.bak".
// A crash at any point leaves either the old file or the new one, never a torn one.
#pragma once

#include "pal/visibility.h"

#include <filesystem>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace pal {

struct WriteOutcome {
    bool ok = false;
    int error = 0;       // errno of the step that failed
    std::string message; // what failed, naming the file
    explicit operator bool() const { return ok; }
};

WriteOutcome writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// The loader rule: a file that failed to load is moved aside (to "<name>.bad", replacing an
// older one) so that it can be inspected, and so that the caller can keep its defaults in
// memory without saving them over the user's file. Returns the new name, or empty on failure.
std::filesystem::path setAsideBadFile(const std::filesystem::path& file);

} // namespace pal

DV_EXPORTS_END
