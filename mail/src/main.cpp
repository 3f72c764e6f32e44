// DravikMail: hands one message to the mail client, or opens a fallback page. It shows nothing
// and prints nothing, except why it cannot start when its sandbox cannot be made; the exit code
// is its whole answer.
#include "input_text.h"
#include "mail_run.h"

#include "pal/sandbox.h"
#include "pal/text.h"

#include <exception>

int main(int argc, char** argv) {
    if (!pal::sandbox::prepare("DravikMail"))
        return 1;
    try {
        const auto input = dvmail::standardInput();
        std::vector<std::wstring> args;
        for (int i = 1; i < argc; ++i)
            args.push_back(pal::text::fromUtf8(argv[i]));
        return dvmail::runMail(args, input);
    } catch (const std::exception&) {
        // An unusable sandbox or exhausted memory: not handed over, nothing opened.
        return 1;
    }
}
