// The mail helper from its arguments to its exit code.
#pragma once

#include "input_text.h"

#include <cstdio>
#include <string>
#include <vector>

namespace dvmail {

// 0 when the message was handed to the mail client (or the user cancelled it there) or the
// fallback page was opened; 1 otherwise. Standard input is read only when there is a
// recipient. A message the client cannot take because it is too long is not replaced by the
// fallback page: one line on `errors` says so, and the answer is 1.
int runMail(const std::vector<std::wstring>& args, const ReadChunk& input, std::FILE* errors);

} // namespace dvmail
