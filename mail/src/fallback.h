// The page opened when the message cannot be handed to a mail client.
#pragma once

#include <string>

namespace dvmail {

// Opens the address with the shell when it is a URL. False for an empty address, one that is
// not a URL (a file path is never opened), or when the shell, or the opener it started, reports
// failure.
bool openFallback(const std::wstring& address);

} // namespace dvmail
