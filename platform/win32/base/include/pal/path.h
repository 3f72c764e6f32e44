// Path rules at the boundary with the operating system. Both separators are accepted;
// drive paths (C:\...) and paths rooted with one "\" (the current drive) map into the sandbox;
// POSIX absolute paths stay as they are.
#pragma once

#include "pal/visibility.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace pal::path {

// A path the system code holds, as a path the operating system can open. A name the platform
// refuses (a long-path or device prefix followed by anything but a drive path or a share, a
// share without a server or share name) gives an empty path and its error code in `error`
// (ERROR_INVALID_NAME or ERROR_PATH_NOT_FOUND); the short form leaves the error out.
std::filesystem::path toNative(std::wstring_view path, std::uint32_t& error);
std::filesystem::path toNative(std::wstring_view path);
// A native path as the system code sees it (drive folders shown as drive paths again).
std::wstring fromNative(const std::filesystem::path& native);
// A piece of a native path (a file name, stem or extension, or a host path as it is) as text:
// host names are UTF-8 bytes, whatever the process's locale says.
std::wstring textOf(const std::filesystem::path& piece);
// True for "C:\x", "C:/x", "\\server\share", "/x".
bool isAbsolute(std::wstring_view path);

} // namespace pal::path

namespace pal::folders {

// The running program's own file and folder.
std::filesystem::path programFile();
std::filesystem::path programDir();
// The user's roaming and local application-data folders and the temporary folder, inside the sandbox.
std::filesystem::path roamingAppData();
std::filesystem::path localAppData();
std::filesystem::path commonAppData();
std::filesystem::path documents();
std::filesystem::path temp();
// The system folder, where system libraries are looked for.
std::filesystem::path system();

// The module layer registers how the file of a module it loaded is found, so that
// GetModuleFileNameW answers for every module; until then only the program itself (null
// module) is known. The resolver answers an empty path for a module it does not know.
using ModuleFileResolver = std::filesystem::path (*)(void* module);
void setModuleFileResolver(ModuleFileResolver resolver);

} // namespace pal::folders

DV_EXPORTS_END
