// Every question to a person goes through here. Tests queue answers in advance; another
// process reads them from the file named by DV_PAL_ANSWERS, one answer a line: a line that is a
// whole number is a number (a button, a command id), any other line is text (an item's text, a
// path). A prompt with no answer takes its default: under the test fixture it is also journaled
// as unanswered, which fails the test; in a program it is written to standard error.
//
// Live prompts (message boxes, popup menus, file dialogs) are windows: they take the next answer
// with take() and carry it out through their own controls, then report how it went with
// answered(), unanswered() or refused().
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <optional>
#include <string>

DV_EXPORTS_BEGIN

namespace pal::responder {

struct Prompt {
    std::string kind; // "MessageBox", "FileDialog", "PopupMenu", "SavePrompt", ...
    std::wstring text;
    std::wstring caption;
    UINT flags = 0;
    int defaultAnswer = 0;
};

struct Answer {
    std::optional<int> number; // set for a number, else `text` is the answer
    std::wstring text;

    std::string describe() const;
};

// Whether a person answers live prompts: only when a display that shows them is open and the
// program does not run under the test fixture. Otherwise the responder answers them.
bool personAnswers();
// The display says whether it shows windows to a person (the null display does not).
void setDisplayShown(bool shown);
// Whether windows are shown at all, whoever answers them: a dialog on a shown display can still
// be reached by keys and clicks, even under the test fixture.
bool displayShowsWindows();
// The display that showed them went away while the program ran: nobody answers from now on,
// and what only a person could have kept must be kept without asking.
bool displayLost();
void setDisplayLost();

// A prompt without a window: the next answer when it is a number, else the default.
int ask(const Prompt& prompt);

// The next queued answer, or none.
std::optional<Answer> take();
// How a live prompt ended. `by` says who answered: "responder" for a queued answer, "input"
// for keys and clicks on the live window.
void answered(const Prompt& prompt, const std::string& answer, const std::string& by);
// No answer was queued and nobody answered: the prompt took `taken` (its default).
void unanswered(const Prompt& prompt, const std::string& taken);
// A queued answer the prompt cannot carry out (no such button or item, a missing file, a path
// outside the sandbox): journaled as refused, which fails a test, and written to standard error.
void refused(const Prompt& prompt, const Answer& answer, const std::string& reason);

} // namespace pal::responder

DV_EXPORTS_END
