// DravikMail: hands one message to the mail client, or opens a fallback page. It shows nothing;
// the exit code is its answer, and the one failure the caller could not tell from it (a message
// too long for the mail client) is also said on standard error.
#include "input_text.h"
#include "mail_run.h"

#include "win/system.h"

#include <cstdio>
#include <exception>

int main() {
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
