// Where a process finds its world: the registry database, the drives, the automation
// sockets and the journal all live under one root, DV_PAL_ROOT (by default the user's
// data folder, $XDG_DATA_HOME/dravik or ~/.local/share/dravik).
#pragma once

#include "pal/visibility.h"

#include <filesystem>
#include <stdexcept>

DV_EXPORTS_BEGIN

namespace pal::sandbox {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The root, created on first use (private to the user). Throws Error with a message naming
// the folder when it cannot be created or written. A relative DV_PAL_ROOT is made absolute,
// in the environment too, so that children started in another folder share the root.
const std::filesystem::path& root();
// The folder a Windows drive letter maps to (C: -> <root>/drive_c), created on first use.
std::filesystem::path drive(wchar_t letter);
// <root>/run: sockets and lock files of live processes, private to the user.
std::filesystem::path runDir();
// Makes `folder` and its missing parents private to the user (0700); throws Error.
void privateFolder(const std::filesystem::path& folder);
// What every program does first: makes the root, drive C: and run/. When one of them cannot be
// made it writes "<program>: <why>" on standard error and answers false, and the program ends
// with a non-zero exit code, before anything else can fail where no one reports it.
bool prepare(const char* program) noexcept;
// A temporary file this process made in the temporary folder: removed when the process ends, or
// by the next start once the process is gone without ending cleanly. Files elsewhere are left.
void ownTemporary(const std::filesystem::path& file);
// Forgets the cached root so the next call reads DV_PAL_ROOT again (used by test fixtures).
void reset();

} // namespace pal::sandbox

DV_EXPORTS_END
