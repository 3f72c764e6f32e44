// The rule for the person's own files that fail to load: the file is moved aside ("<name>.bad",
// replacing an older one) so that nothing the session writes lands on it, and the log says so.
#pragma once

#include <string>

namespace dvapp {

bool FileExists(const std::wstring& path);
// `what` names the file's content for the log ("application commands", "frame state").
void SetAsideBadFile(const std::wstring& path, const wchar_t* what);

} // namespace dvapp
