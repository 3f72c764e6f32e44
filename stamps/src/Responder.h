// Without a person at the display the editors' forms are answered by the responder, one queued
// answer each time a form's loop falls idle, carried out through ordinary messages to the
// controls named as the forms name them:
//   type NAME TEXT     focus the control, select its text and type TEXT over it
//   keys NAME TEXT     focus the control and type TEXT at the end of its text
//   choose NAME ITEM   pick the list item ITEM of a combo box, as a click in its list does
//   click NAME         focus the button and click it
//   pick NAME DATE     set the calendar NAME to DATE (dd.MM.yyyy)
//   close              the form's close box
// A number presses the form's OK (1) or Cancel (2) button. In TEXT, "\r" is the Enter key.
#pragma once

#include "win/user.h"

#include <map>
#include <string>

namespace stamps {

struct FormControls {
    std::wstring caption;
    std::map<std::wstring, int> ids; // control name -> id
    int ok = 0;
    int cancel = 0;
};

// Takes the next answer and carries it out on `form`; with none queued the form is closed.
void respond(HWND form, const FormControls& controls);

// A date of the user's short form (dd.MM.yyyy, or d.M.yy); false for a text that is none.
bool dateFromText(const std::wstring& text, SYSTEMTIME& date);

} // namespace stamps
