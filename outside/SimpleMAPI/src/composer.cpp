#include "composer.h"

#include "pal/path.h"
#include "pal/text.h"
#include "win/base.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace simplemapi {

namespace {

// xdg-email reads a word that begins with "-" as an option, and one that begins with "mailto:"
// as a whole mail link that it passes on unencoded, whose query could attach files or add
// recipients. Neither can be passed to it as an address at all.
bool usableAddress(const std::string& address) {
    return !address.empty() && address.front() != '-' && !address.starts_with("mailto:");
}

void addEach(std::vector<std::string>& argv, const char* option, const std::vector<std::string>& values) {
    for (const auto& v : values) {
        argv.emplace_back(option);
        argv.push_back(v);
    }
}

// The kernel's limit on one argument of a program, its terminating zero included
// (MAX_ARG_STRLEN).
constexpr std::size_t kMaxArgumentBytes = 131072;

// What run() answers when the arguments together are more than the kernel takes.
constexpr int kArgumentsTooLong = -2;

// Runs the command with standard input from /dev/null and returns its exit status, or -1
// when it could not be started or did not exit normally.
int run(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int started = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started == E2BIG)
        return kArgumentsTooLong;
    if (started != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

std::vector<std::string> composerCommand(const Composition& message) {
    // --utf8 first: every argument below is UTF-8 whatever the desktop's locale.
    std::vector<std::string> argv{"xdg-email", "--utf8"};
    addEach(argv, "--cc", message.cc);
    addEach(argv, "--bcc", message.bcc);
    if (!message.subject.empty()) {
        argv.emplace_back("--subject");
        argv.push_back(message.subject);
    }
    if (!message.body.empty()) {
        argv.emplace_back("--body");
        argv.push_back(message.body);
    }
    addEach(argv, "--attach", message.attachments);
    argv.insert(argv.end(), message.to.begin(), message.to.end());
    return argv;
}

ULONG compose(const Composition& message) {
    for (const auto* list : {&message.to, &message.cc, &message.bcc})
        for (const auto& address : *list)
            if (!usableAddress(address))
                return MAPI_E_UNKNOWN_RECIPIENT;
    for (const auto& path : message.attachments) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec))
            return MAPI_E_ATTACHMENT_NOT_FOUND;
    }
    const std::vector<std::string> command = composerCommand(message);
    // The kernel refuses to start a program with an argument this long, and xdg-email takes the
    // body as one argument only: the composer cannot be given this message at all.
    for (const auto& argument : command)
        if (argument.size() >= kMaxArgumentBytes)
            return MAPI_E_TEXT_TOO_LARGE;
    const int status = run(command);
    if (status == kArgumentsTooLong)
        return MAPI_E_TEXT_TOO_LARGE;
    return status == 0 ? SUCCESS_SUCCESS : MAPI_E_FAILURE;
}

std::string utf8(const wchar_t* text) {
    return text ? pal::text::toUtf8(text) : std::string();
}

std::string utf8(const char* text) {
    if (!text || !*text)
        return {};
    const int chars = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (chars <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), chars);
    wide.resize(static_cast<size_t>(chars - 1));
    return pal::text::toUtf8(wide);
}

std::string nativePath(const std::string& utf8Path) {
    return pal::path::toNative(pal::text::fromUtf8(utf8Path)).string();
}

} // namespace simplemapi
