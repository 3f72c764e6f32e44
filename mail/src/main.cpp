// DravikMail: hands one message to the mail client, or opens a fallback page. It shows nothing;
// the exit code is its answer, and the one failure the caller could not tell from it (a message
// too long for the mail client) is also said on standard error.
#include "input_text.h"
#include "mail_run.h"

#include "pal/text.h"

#include <exception>

int main(int argc, char** argv) {
    try {
        const auto input = dvmail::standardInput();
        std::vector<std::wstring> args;
        for (int i = 1; i < argc; ++i)
            args.push_back(pal::text::fromUtf8(argv[i]));
        return dvmail::runMail(args, input, stderr);
    } catch (const std::exception&) {
        // An unusable sandbox or exhausted memory: not handed over, nothing opened.
        return 1;
    }
}
