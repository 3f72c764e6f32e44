// The file dialog through which a person chooses a library configuration's file.
#pragma once

#include <string>

namespace DocumentsMenu {

// The chosen file's path, or empty when the person cancelled. `open` asks for an existing file;
// otherwise for a file to write, which is confirmed when it exists.
std::wstring AskForConfigurationFile(bool open, const std::wstring& suggested);

} // namespace DocumentsMenu
