#include "DVDiagnostics/CrashGuard.h"

#include "DVDiagnostics/GenerateDumpFile.h"

#include <cinttypes>
#include <csetjmp>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <execinfo.h>
#include <memory>
#include <mutex>
#include <typeinfo>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int kMostFrames = 64;

// One guard on one thread's stack; the signal handler jumps back into the innermost.
struct Frame {
    sigjmp_buf jump;
    Frame* outer = nullptr;
    int signal = 0;
    void* address = nullptr;
    bool sent = false; // by kill or raise, not by the processor
    pid_t sender = 0;
    void* frames[kMostFrames];
    int depth = 0;
};

thread_local Frame* innermost = nullptr;
// The alternate stack of each thread that entered a guard; kept for the thread's life.
thread_local char* alternateStack = nullptr;

void onSignal(int signal, siginfo_t* info, void*) {
    Frame* frame = innermost;
    if (frame == nullptr) {
        // Not ours to handle: the default action, as without the guard.
        std::signal(signal, SIG_DFL);
        raise(signal);
        return;
    }
    frame->signal = signal;
    frame->address = info != nullptr ? info->si_addr : nullptr;
    frame->sent = info != nullptr && info->si_code <= 0;
    frame->sender = frame->sent ? info->si_pid : 0;
    // backtrace was called once before any handler was installed, so it does not load
    // anything here.
    frame->depth = backtrace(frame->frames, kMostFrames);
    siglongjmp(frame->jump, 1);
}

void installHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        void* warm[1];
        backtrace(warm, 1);
        struct sigaction action {};
        action.sa_sigaction = onSignal;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        for (int signal : kSignals)
            sigaction(signal, &action, nullptr);
    });
    if (alternateStack == nullptr) {
        const size_t size = 64 * 1024;
        alternateStack = static_cast<char*>(std::malloc(size));
        stack_t stack{};
        stack.ss_sp = alternateStack;
        stack.ss_size = size;
        sigaltstack(&stack, nullptr);
    }
}

const char* signalName(int signal) {
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    case SIGABRT:
        return "SIGABRT";
    default:
        return "signal";
    }
}

// Unblocks the signal that jumped here: the handler did not return, so the kernel's mask
// would otherwise keep a second fault of the same kind from being reported.
void unblock(int signal) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

int report(GenerateDumpFileContextBase* context, _EXCEPTION_POINTERS& pointers, int onFault) {
    if (GenerateDumpFileAndReportError(&pointers, context) == 0) {
        // Nobody handles it: what would have happened without the guard.
        if (pointers.signal != 0) {
            std::signal(pointers.signal, SIG_DFL);
            raise(pointers.signal);
        }
        std::terminate();
    }
    return onFault;
}

} // namespace

namespace dvdiag {

int RunCrashGuarded(GenerateDumpFileContextBase* context, const std::function<int()>& body, int onFault) {
    installHandlers();
    // The handler fills the frame after sigsetjmp, and it is read after the jump back: a local
    // of this function would be indeterminate then, so it lives outside the stack frame.
    const auto frame = std::make_unique<Frame>();
    frame->outer = innermost;
    if (sigsetjmp(frame->jump, 1) != 0) {
        innermost = frame->outer;
        unblock(frame->signal);
        _EXCEPTION_POINTERS pointers;
        pointers.signal = frame->signal;
        char text[64];
        if (frame->sent && frame->sender == ::getpid())
            std::snprintf(text, sizeof text, "%s raised by the program", signalName(frame->signal));
        else if (frame->sent)
            std::snprintf(text, sizeof text, "%s sent by process %ld", signalName(frame->signal),
                          static_cast<long>(frame->sender));
        else
            std::snprintf(text, sizeof text, "%s at 0x%016" PRIxPTR, signalName(frame->signal),
                          reinterpret_cast<std::uintptr_t>(frame->address));
        pointers.description = text;
        pointers.frames.assign(frame->frames, frame->frames + frame->depth);
        return report(context, pointers, onFault);
    }
    innermost = frame.get();
    try {
        const int result = body();
        innermost = frame->outer;
        return result;
    } catch (...) {
        innermost = frame->outer;
        // C++ has no filter stage: by the time a handler runs, the stack between the throw and
        // here is unwound, so this is the earliest backtrace there is. It shows where the
        // exception left the guarded body; the throw site itself would take replacing the
        // runtime's throw for the whole process.
        _EXCEPTION_POINTERS pointers;
        void* frames[kMostFrames];
        pointers.frames.assign(frames, frames + backtrace(frames, kMostFrames));
        try {
            throw;
        } catch (const std::exception& e) {
            pointers.description = std::string("C++ exception ") + typeid(e).name() + ": " + e.what();
        } catch (...) {
            pointers.description = "C++ exception of an unknown type";
        }
        return report(context, pointers, onFault);
    }
}

std::string DescribeFrames(const std::vector<void*>& frames) {
    std::string text;
    if (frames.empty())
        return text;
    char** symbols = backtrace_symbols(frames.data(), static_cast<int>(frames.size()));
    for (size_t i = 0; i < frames.size(); ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "#%-3zu ", i);
        text += line;
        if (symbols != nullptr) {
            text += symbols[i];
        } else {
            std::snprintf(line, sizeof line, "%p", frames[i]);
            text += line;
        }
        text += '\n';
    }
    std::free(symbols);
    return text;
}

} // namespace dvdiag
