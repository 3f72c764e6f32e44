// DravikMail: hands one message to the mail client, or opens a fallback page. It shows nothing;
// the exit code is its answer. It prints only why it cannot start when its sandbox cannot be
// made, and the one failure the caller could not tell from the exit code: a message too long for
// the mail client.
#include "input_text.h"
#include "mail_run.h"

#include "pal/sandbox.h"
#include "win/system.h"

#include <cstdio>
#include <exception>

int main() {
    if (!pal::sandbox::prepare("DravikMail"))
        return 1;
    try {
        const auto input = dvmail::standardInput();
        int count = 0;
        LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
        if (!argv)
            return 1;
        const std::vector<std::wstring> args(argv + (count > 0 ? 1 : 0), argv + count);
        LocalFree(argv);
        return dvmail::runMail(args, input, stderr);
    } catch (const std::exception&) {
        // An unusable sandbox or exhausted memory: not handed over, nothing opened.
        return 1;
    }
}
