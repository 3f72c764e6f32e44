// The main form's procedures over one title-block variable and what shows it: GV, GC and GR read
// a variable into a box, a person combo or a string; SV, SC and SR write it back. A person combo
// carries its role's history, kept in the settings store under the combo's control name.
#pragma once

#include "TitleBlockServer.h"

#include "win/user.h"

#include <string>
#include <utility>
#include <vector>

namespace stamps {

// A control's whole text, a combo box's list items in order, and one item appended to the list.
std::wstring controlText(HWND control);
std::vector<std::wstring> comboItems(HWND combo);
void addComboItem(HWND combo, const std::wstring& item);

// A person combo: its window and the role its history is kept under.
struct PersonCombo {
    HWND combo;
    std::wstring role;
};

// Appends the role's stored history to the combo's list; the combo's text stays. A stored count
// that is no number, or past what a list holds, is told on standard error naming the program.
void LoadComboHistory(const PersonCombo& person, const std::wstring& program);
// Stores the combo's list as the role's history, its text appended first unless it is empty or
// already listed.
void SaveComboHistory(const PersonCombo& person);

// The flag "sprav_tabl" read with GR is off only when its value is -1. A drawing stored before
// the flag was a number holds it as a text, which DravikCad answers quoted; that -1 is off too.
bool flagIsOff(const std::wstring& value);

class FieldProcedures {
public:
    // `stripQuotes`: whether GV and GC take one pair of enclosing quotes off what they show.
    FieldProcedures(TitleBlockServer& server, std::wstring program, bool stripQuotes)
        : server_(server), program_(std::move(program)), stripQuotes_(stripQuotes) {}

    void GV(const std::wstring& name, HWND box);
    void GC(const std::wstring& name, const PersonCombo& person);
    void GR(const std::wstring& name, std::wstring& value);
    void SV(const std::wstring& name, HWND box);
    void SC(const std::wstring& name, const PersonCombo& person);
    void SR(const std::wstring& name, const std::wstring& value);

private:
    TitleBlockServer& server_;
    std::wstring program_;
    bool stripQuotes_;
};

} // namespace stamps
