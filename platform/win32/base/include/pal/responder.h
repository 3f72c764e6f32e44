// Every question to a person goes through here. Tests queue answers in advance; another
// process reads them from the file named by DV_PAL_ANSWERS, one answer a line. A prompt with
// no answer takes its default: under the test fixture it is also journaled as unanswered,
// which fails the test; in a program it is written to standard error.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <string>

DV_EXPORTS_BEGIN

namespace pal::responder {

struct Prompt {
    std::string kind; // "MessageBox", "FileDialog", "SavePrompt", ...
    std::wstring text;
    std::wstring caption;
    UINT flags = 0;
    int defaultAnswer = 0;
};

int ask(const Prompt& prompt);

} // namespace pal::responder

DV_EXPORTS_END
