#include "DVDiagnostics/CrashGuard.h"

#include "pal/path.h"
#include "pal/responder.h"
#include "pal/text.h"

#include <cerrno>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace dvdiag {

namespace {

// The box in a process of its own: its exit code is the answer; -1 when it could not be asked.
int askInOwnProcess(const std::wstring& caption, const std::wstring& question, unsigned flags) {
    std::string program = (pal::folders::programDir() / kErrorDialogProgram).string();
    std::string captionText = pal::text::toUtf8(caption);
    std::string questionText = pal::text::toUtf8(question);
    std::string flagsText = std::to_string(flags);
    char* argv[] = {program.data(), captionText.data(), questionText.data(), flagsText.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) && WEXITSTATUS(status) != 0 ? WEXITSTATUS(status) : -1;
}

} // namespace

int AskAfterFault(const std::wstring& caption, const std::wstring& question, unsigned flags, int unanswered) {
    pal::responder::Prompt prompt;
    prompt.kind = "MessageBox";
    prompt.text = question;
    prompt.caption = caption;
    prompt.flags = flags;
    prompt.defaultAnswer = unanswered;
    if (!pal::responder::personAnswers())
        return pal::responder::ask(prompt);
    const int answer = askInOwnProcess(caption, question, flags);
    return answer > 0 ? answer : unanswered;
}

} // namespace dvdiag
