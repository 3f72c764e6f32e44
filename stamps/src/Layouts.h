// What distinguishes the three title-block editors: the variables each edits, with which control
// and in which order, the shared features each carries, and where each control and caption sits
// on the title-block grid (dialog units).
#pragma once

#include <span>

namespace stamps {

enum class FieldKind {
    Person,    // editable combo box with the role's history
    Text,      // single-line box
    MultiLine, // box of several lines, with a limit on the carriage returns typed
    Format,    // combo box of the sheet formats, no history
    Date,      // box with a "..." button that opens the calendar
    Flag,      // the check box of the extra-parameters form
};

enum class FlagUse { ReadWrite, ReadOnly, None };

struct Cell {
    short x, y, cx, cy;
};

struct Field {
    const wchar_t* variable; // nullptr: a control bound to no variable
    const wchar_t* control;  // the control's name; arrays as "Дата(1)"
    FieldKind kind;
    int lineLimit;   // MultiLine: carriage returns the box takes (0: no limit)
    bool onForm3;    // on the extra-parameters form rather than the main form
    Cell cell;       // main form only: the grid cell the control fills
    int personFocus; // Person: its number for Add and Delete (0: none)
};

// A fixed caption of the grid, drawn in its framed cell; an empty text is an empty cell.
struct Caption {
    const wchar_t* text;
    Cell cell;
};

struct Button {
    const wchar_t* control;
    const wchar_t* caption;
    Cell cell;
};

struct ProgramLayout {
    const wchar_t* name;
    bool topmost;
    bool stripQuotes;
    bool addDelete;
    bool lineLimits;
    bool calendar;
    bool form3;
    FlagUse flag;
    // The main form's unload also unloads the extra-parameters form and brings DravikCad forward.
    bool unloadFocuses;
    // Fields in read order (which is also the write order; a read-only flag is not written),
    // then the controls bound to no variable.
    std::span<const Field> fields;
    std::span<const Caption> captions;
    std::span<const Button> buttons;
    Cell grid;   // the title block's outer frame
    short width; // the main form's client size
    short height;
};

const ProgramLayout& stampFirstSheet();
const ProgramLayout& stampNextSheets();
const ProgramLayout& stampForm();

// The extra-parameters form's boxes in their order on the form, shared by the two programs that
// have it; which of them a program binds is in its field table.
struct ExtraBox {
    const wchar_t* control;
    const wchar_t* caption;
    bool followsFlag; // enabled only while the check box is checked
};
std::span<const ExtraBox> extraBoxes();

inline constexpr wchar_t kSettingsApp[] = L"DRAVIK FORMS";
inline constexpr wchar_t kUndoName[] = L"Редактирование форматки";
inline constexpr wchar_t kFlagVariable[] = L"sprav_tabl";

} // namespace stamps
