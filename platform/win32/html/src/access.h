// Which files a page may read: regular files inside the sandbox or the program folder, after
// every link and ".." has been followed.
#pragma once

#include "pal/html.h"

#include <filesystem>
#include <string_view>

namespace pal::html {

// The file a local URL names when a page may read it; otherwise empty, with the reason.
std::filesystem::path readableFile(std::wstring_view url, Load& why);

} // namespace pal::html
