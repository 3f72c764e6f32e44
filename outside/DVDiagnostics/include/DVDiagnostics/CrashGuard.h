// The frame a guarded operation runs in: what a structured-exception frame with the crash
// report's filter is on the maker's platform. A fault of the processor (SIGSEGV, SIGBUS,
// SIGFPE, SIGILL) or an abort (SIGABRT) raised by the calling thread inside the body, or a C++
// exception escaping it, ends the body; the filter GenerateDumpFileAndReportError reports it
// with the context, and the guard answers `onFault`.
//
// The handlers run on an alternate stack of the thread, so that a stack overflow is reported
// too. A fault met outside every guard of its thread ends the process as it would have without
// the handlers. Guards nest: the innermost one handles its thread's fault.
#pragma once

#include "pal/visibility.h"

#include <functional>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class GenerateDumpFileContextBase;

// What the filter is given about a fault.
struct _EXCEPTION_POINTERS {
    // The signal, or 0 for a C++ exception.
    int signal = 0;
    // "SIGSEGV at 0x0000000000000010", or the exception's type and text.
    std::string description;
    // The return addresses of the faulting thread, innermost first.
    std::vector<void*> frames;
};

namespace dvdiag {

int RunCrashGuarded(GenerateDumpFileContextBase* context, const std::function<int()>& body, int onFault = 0);

// The backtrace of `frames` as text, one frame a line.
std::string DescribeFrames(const std::vector<void*>& frames);

// The program beside the others that asks the question after a fault.
inline constexpr const char* kErrorDialogProgram = "DVErrorDialog";

// Asks the question after a fault without this process's windows, whose locks the fault may have
// left held: with a person at a display a process of its own shows the box (flags as for a
// message box) and its answer comes back; with nobody there the responder answers, and without
// an answer given `unanswered` is taken, as it is when the box cannot be shown. Answers the
// button (IDYES, IDNO, ...).
int AskAfterFault(const std::wstring& caption, const std::wstring& question, unsigned flags, int unanswered);

// What the program does once a fault of the processor (or an abort) was reported and answered:
// it may no longer trust its own state, so it is given a short while to end in order and is
// ended then. Set by a program; without it nothing more happens (tests go on).
void SetAfterFault(std::function<void()> afterFault);

} // namespace dvdiag

DV_EXPORTS_END
