// Where the files behind Windows module and program names are, and their file versions.
#pragma once

#include "pal/visibility.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

DV_EXPORTS_BEGIN

namespace pal::binaries {

// The one rule from a Windows name to a file: "X.dll" -> "X.so", "X.exe" -> "X", any other
// name unchanged. Only the file name part changes; a folder part goes through pal::path.
std::filesystem::path nativeName(std::wstring_view windowsName);

// The existing file for a Windows name: a name with a folder part is taken there, a bare name
// is looked for in `folders` in order. An exact match wins; otherwise names are compared
// without case, as the platform does. Empty when there is none.
std::filesystem::path find(std::wstring_view windowsName,
                           std::initializer_list<std::filesystem::path> folders);

// The file of a module handle from LoadLibraryW/GetModuleHandleW; empty for an unknown handle.
std::filesystem::path moduleFile(void* module);

using Version = std::array<std::uint16_t, 4>; // major first

// The version the manifest gives for a file. The manifest is "file-versions.txt" in the
// file's folder, one "<file name> <a.b.c.d>" a line ('#' starts a comment). A manifest named
// by DV_VERSION_MANIFEST (tests) is asked first.
std::optional<Version> fileVersion(const std::filesystem::path& file);

inline constexpr const char* kManifestName = "file-versions.txt";

} // namespace pal::binaries

DV_EXPORTS_END
