// The responder's part in the modal loops of dialogs: the dialog manager's and the class
// library's.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

namespace pal::win {

// A modal dialog whose loop has run dry, with nobody at a display to answer it: the responder
// answers, as it does for a message box, whoever opened the dialog (a command of the program, a
// call over automation). The next queued answer names a control by its id or a button by its
// text and is carried out as a click; with none queued the dialog is cancelled as a person
// closing it would, which under the test fixture is journaled as unanswered.
class UnattendedDialog {
public:
    enum class Outcome {
        PersonAnswers, // a display shows the dialog: the loop waits for the person as ever
        Answered,      // the answer went to the dialog: the loop goes on with what it set moving
        Ignored,       // the dialog moved on no answer: the loop ends it with IDCANCEL
    };
    explicit UnattendedDialog(HWND dialog);
    // Called each time the loop finds its queue empty and its idle work done.
    Outcome answer();

private:
    HWND dialog_;
    int fruitless_ = 0;
};

} // namespace pal::win

DV_EXPORTS_END
