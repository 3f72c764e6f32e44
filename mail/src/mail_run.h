// The mail helper from its arguments to its exit code.
#pragma once

#include "input_text.h"

#include <string>
#include <vector>

namespace dvmail {

// 0 when the message was handed to the mail client (or the user cancelled it there) or the
// fallback page was opened; 1 otherwise. Standard input is read only when there is a
// recipient.
int runMail(const std::vector<std::wstring>& args, const ReadChunk& input);

} // namespace dvmail
