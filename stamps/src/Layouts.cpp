#include "Layouts.h"

namespace stamps {
namespace {

// The grid in rows of 13 dialog units, 7 units in from the form's edges; x in dialog units
// from the grid's left edge.
constexpr short kRow = 13, kLeft = 7, kTop = 7;
constexpr Cell at(int x, int row, int cx, int rows) {
    return Cell{static_cast<short>(kLeft + x), static_cast<short>(kTop + row * kRow), static_cast<short>(cx),
                static_cast<short>(rows * kRow)};
}
// Below the grid: a caption and its box on one line.
constexpr Cell below(int x, int row, int cx) {
    return Cell{static_cast<short>(kLeft + x), static_cast<short>(kTop + row * kRow + 6),
                static_cast<short>(cx), kRow};
}

constexpr FieldKind P = FieldKind::Person, T = FieldKind::Text, M = FieldKind::MultiLine,
                    F = FieldKind::Format, D = FieldKind::Date, G = FieldKind::Flag;
constexpr Cell kNone{0, 0, 0, 0};

// Columns of the change record and the person rows.
constexpr int kIzm = 0, kList = 20, kDoc = 45, kSign = 125, kDate = 165;

// --- StampFirstSheet: the first sheet of a text document ---

constexpr int kFsRight = 225; // where the right block starts (the date column holds a button too)
constexpr Field kFirstSheetFields[] = {
    {L"$razrab", L"Разраб", P, 0, false, at(kDoc, 4, 80, 1), 1},
    {L"$prover", L"Провер", P, 0, false, at(kDoc, 5, 80, 1), 2},
    {L"$n_contr", L"Н_контр", P, 0, false, at(kDoc, 6, 80, 1), 3},
    {L"$utverd", L"Утверд", P, 0, false, at(kDoc, 7, 80, 1), 4},
    {L"$inv_n_podl", L"inv_n_podl", T, 0, true, kNone, 0},
    {L"$podl_podp", L"podl_podp", T, 0, true, kNone, 0},
    {L"$vz_inv_n", L"vz_inv_n", T, 0, true, kNone, 0},
    {L"$inv_n_dubl", L"inv_n_dubl", T, 0, true, kNone, 0},
    {L"$dubl_podp", L"dubl_podp", T, 0, true, kNone, 0},
    {L"$per_prim", L"per_prim", T, 0, true, kNone, 0},
    {L"$sprav_nom", L"sprav_nom", T, 0, true, kNone, 0},
    {kFlagVariable, L"Check", G, 0, true, kNone, 0},
    {L"$data1", L"Дата(1)", D, 0, false, at(kDate, 4, 46, 1), 0},
    {L"$data2", L"Дата(2)", D, 0, false, at(kDate, 5, 46, 1), 0},
    {L"$data3", L"Дата(3)", D, 0, false, at(kDate, 6, 46, 1), 0},
    {L"$data4", L"Дата(4)", D, 0, false, at(kDate, 7, 46, 1), 0},
    {L"$oboznach", L"Обозначение", M, 1, false, at(kFsRight, 0, 255, 3), 0},
    {L"$naimen1", L"Наименование", M, 2, false, at(kFsRight, 3, 130, 5), 0},
    {L"$name_pred", L"Предприятие", M, 1, false, at(kFsRight + 130, 5, 125, 3), 0},
    {L"$listov", L"Листов", T, 0, false, at(kFsRight + 215, 4, 40, 1), 0},
    {L"$list", L"Лист", T, 0, false, at(kFsRight + 175, 4, 40, 1), 0},
    {L"$lit1", L"Литера(1)", T, 0, false, at(kFsRight + 130, 4, 15, 1), 0},
    {L"$lit2", L"Литера(2)", T, 0, false, at(kFsRight + 145, 4, 15, 1), 0},
    {L"$lit3", L"Литера(3)", T, 0, false, at(kFsRight + 160, 4, 15, 1), 0},
    {L"$format", L"Формат", F, 0, false, below(300, 8, 50), 0},
    {L"$copy", L"Копировал", T, 0, false, below(80, 8, 100), 0},
};

constexpr Caption kFirstSheetCaptions[] = {
    // The change record: three empty rows, its heads, then the person rows.
    {L"", at(kIzm, 0, 20, 1)},
    {L"", at(kList, 0, 25, 1)},
    {L"", at(kDoc, 0, 80, 1)},
    {L"", at(kSign, 0, 40, 1)},
    {L"", at(kDate, 0, 60, 1)},
    {L"", at(kIzm, 1, 20, 1)},
    {L"", at(kList, 1, 25, 1)},
    {L"", at(kDoc, 1, 80, 1)},
    {L"", at(kSign, 1, 40, 1)},
    {L"", at(kDate, 1, 60, 1)},
    {L"", at(kIzm, 2, 20, 1)},
    {L"", at(kList, 2, 25, 1)},
    {L"", at(kDoc, 2, 80, 1)},
    {L"", at(kSign, 2, 40, 1)},
    {L"", at(kDate, 2, 60, 1)},
    {L"Изм.", at(kIzm, 3, 20, 1)},
    {L"Лист", at(kList, 3, 25, 1)},
    {L"N докум.", at(kDoc, 3, 80, 1)},
    {L"Подп.", at(kSign, 3, 40, 1)},
    {L"Дата", at(kDate, 3, 60, 1)},
    {L"Разраб.", at(kIzm, 4, 45, 1)},
    {L"", at(kSign, 4, 40, 1)},
    {L"Провер.", at(kIzm, 5, 45, 1)},
    {L"", at(kSign, 5, 40, 1)},
    {L"Н.Контр.", at(kIzm, 6, 45, 1)},
    {L"", at(kSign, 6, 40, 1)},
    {L"Утв.", at(kIzm, 7, 45, 1)},
    {L"", at(kSign, 7, 40, 1)},
    {L"Лит.", at(kFsRight + 130, 3, 45, 1)},
    {L"Лист", at(kFsRight + 175, 3, 40, 1)},
    {L"Листов", at(kFsRight + 215, 3, 40, 1)},
    {L"Копировал", below(30, 8, 48)},
    {L"Формат", below(260, 8, 38)},
};

constexpr Button kFirstSheetButtons[] = {
    {L"Дата_кн(1)", L"...", at(kDate + 46, 4, 14, 1)},
    {L"Дата_кн(2)", L"...", at(kDate + 46, 5, 14, 1)},
    {L"Дата_кн(3)", L"...", at(kDate + 46, 6, 14, 1)},
    {L"Дата_кн(4)", L"...", at(kDate + 46, 7, 14, 1)},
    {L"Parametr", L"Дополнительные параметры", below(0, 10, 120)},
    {L"Add", L"Добавить", below(130, 10, 60)},
    {L"Delete", L"Удалить", below(195, 10, 60)},
    {L"Command1", L"OK", below(350, 10, 60)},
    {L"Command2", L"Отменить", below(415, 10, 60)},
};

// --- StampNextSheets: the following sheets of a text document ---

constexpr Field kNextSheetsFields[] = {
    {L"$inv_n_podl", L"inv_n_podl", T, 0, true, kNone, 0},
    {L"$podl_podp", L"podl_podp", T, 0, true, kNone, 0},
    {L"$vz_inv_n", L"vz_inv_n", T, 0, true, kNone, 0},
    {L"$inv_n_dubl", L"inv_n_dubl", T, 0, true, kNone, 0},
    {L"$dubl_podp", L"dubl_podp", T, 0, true, kNone, 0},
    {kFlagVariable, L"Check", G, 0, true, kNone, 0},
    {L"$oboznach", L"Обозначение", M, 1, false, at(205, 0, 225, 3), 0},
    {L"$list", L"Лист", T, 0, false, at(430, 1, 40, 2), 0},
    {L"$format", L"Формат", F, 0, false, below(300, 3, 50), 0},
    {L"$copy", L"Копировал", T, 0, false, below(80, 3, 100), 0},
    // The extra form's two boxes of the reference table, bound to nothing here.
    {nullptr, L"per_prim", T, 0, true, kNone, 0},
    {nullptr, L"sprav_nom", T, 0, true, kNone, 0},
};

constexpr Caption kNextSheetsCaptions[] = {
    {L"", at(kIzm, 0, 20, 1)},         {L"", at(kList, 0, 25, 1)},       {L"", at(kDoc, 0, 80, 1)},
    {L"", at(kSign, 0, 40, 1)},        {L"", at(kDate, 0, 40, 1)},       {L"", at(kIzm, 1, 20, 1)},
    {L"", at(kList, 1, 25, 1)},        {L"", at(kDoc, 1, 80, 1)},        {L"", at(kSign, 1, 40, 1)},
    {L"", at(kDate, 1, 40, 1)},        {L"Изм", at(kIzm, 2, 20, 1)},     {L"Лист", at(kList, 2, 25, 1)},
    {L"N докум.", at(kDoc, 2, 80, 1)}, {L"Подп.", at(kSign, 2, 40, 1)},  {L"Дата", at(kDate, 2, 40, 1)},
    {L"Лист", at(430, 0, 40, 1)},      {L"Копировал", below(30, 3, 48)}, {L"Формат", below(260, 3, 38)},
};

constexpr Button kNextSheetsButtons[] = {
    {L"Parametr", L"Дополнительные параметры", below(0, 5, 120)},
    {L"Command1", L"OK", below(340, 5, 60)},
    {L"Command2", L"Отмена", below(405, 5, 60)},
};

// --- StampForm: the main inscription of a drawing ---

constexpr int kFmRight = 205;
constexpr Field kFormFields[] = {
    {L"$razrab", L"Разраб", P, 0, false, at(kDoc, 4, 80, 1), 0},
    {L"$prover", L"Провер", P, 0, false, at(kDoc, 5, 80, 1), 0},
    {L"$t_contr", L"Т_контр", P, 0, false, at(kDoc, 6, 80, 1), 0},
    {L"$nach_lab", L"Нач_лаб", P, 0, false, at(kDoc, 7, 80, 1), 0},
    {L"$n_contr", L"Н_контр", P, 0, false, at(kDoc, 8, 80, 1), 0},
    {L"$utverd", L"Утверд", P, 0, false, at(kDoc, 9, 80, 1), 0},
    {L"$oboznach", L"Обозначение", T, 0, false, at(kFmRight, 0, 265, 3), 0},
    {L"$naimen1", L"Наименование1", T, 0, false, at(kFmRight, 3, 130, 5), 0},
    {L"$material1", L"Материал", T, 0, false, at(kFmRight, 8, 130, 3), 0},
    {L"$naim_pred", L"Предприятие", T, 0, false, at(kFmRight + 130, 8, 135, 3), 0},
    {L"$listov", L"Листов", T, 0, false, at(kFmRight + 230, 7, 35, 1), 0},
    {L"$list", L"Лист", T, 0, false, at(kFmRight + 160, 7, 35, 1), 0},
    {L"$massa", L"Масса", T, 0, false, at(kFmRight + 175, 4, 45, 3), 0},
    {L"$maschtab", L"Масштаб", T, 0, false, at(kFmRight + 220, 4, 45, 3), 0},
    {L"$lit1", L"Литера1", T, 0, false, at(kFmRight + 130, 4, 15, 3), 0},
    {L"$lit2", L"Литера2", T, 0, false, at(kFmRight + 145, 4, 15, 3), 0},
    {L"$lit3", L"Литера3", T, 0, false, at(kFmRight + 160, 4, 15, 3), 0},
    // Boxes the form shows but binds to no variable.
    {nullptr, L"Формат", T, 0, false, below(300, 11, 50), 0},
    {nullptr, L"Копировал", T, 0, false, below(80, 11, 100), 0},
    {nullptr, L"Дата1", T, 0, false, at(kDate, 4, 40, 1), 0},
    {nullptr, L"Дата2", T, 0, false, at(kDate, 5, 40, 1), 0},
    {nullptr, L"Дата3", T, 0, false, at(kDate, 6, 40, 1), 0},
    {nullptr, L"Дата4", T, 0, false, at(kDate, 7, 40, 1), 0},
    {nullptr, L"Дата5", T, 0, false, at(kDate, 8, 40, 1), 0},
    {nullptr, L"Дата6", T, 0, false, at(kDate, 9, 40, 1), 0},
};

constexpr Caption kFormCaptions[] = {
    {L"", at(kIzm, 0, 20, 1)},
    {L"", at(kList, 0, 25, 1)},
    {L"", at(kDoc, 0, 80, 1)},
    {L"", at(kSign, 0, 40, 1)},
    {L"", at(kDate, 0, 40, 1)},
    {L"", at(kIzm, 1, 20, 1)},
    {L"", at(kList, 1, 25, 1)},
    {L"", at(kDoc, 1, 80, 1)},
    {L"", at(kSign, 1, 40, 1)},
    {L"", at(kDate, 1, 40, 1)},
    {L"", at(kIzm, 2, 20, 1)},
    {L"", at(kList, 2, 25, 1)},
    {L"", at(kDoc, 2, 80, 1)},
    {L"", at(kSign, 2, 40, 1)},
    {L"", at(kDate, 2, 40, 1)},
    {L"Изм.", at(kIzm, 3, 20, 1)},
    {L"Лист", at(kList, 3, 25, 1)},
    {L"N докум.", at(kDoc, 3, 80, 1)},
    {L"Подп.", at(kSign, 3, 40, 1)},
    {L"Дата", at(kDate, 3, 40, 1)},
    {L"Разраб.", at(kIzm, 4, 45, 1)},
    {L"", at(kSign, 4, 40, 1)},
    {L"Провер.", at(kIzm, 5, 45, 1)},
    {L"", at(kSign, 5, 40, 1)},
    {L"Т.Контр.", at(kIzm, 6, 45, 1)},
    {L"", at(kSign, 6, 40, 1)},
    {L"Нач.Лаб.", at(kIzm, 7, 45, 1)},
    {L"", at(kSign, 7, 40, 1)},
    {L"Н.Контр.", at(kIzm, 8, 45, 1)},
    {L"", at(kSign, 8, 40, 1)},
    {L"Утв.", at(kIzm, 9, 45, 1)},
    {L"", at(kSign, 9, 40, 1)},
    {L"", at(kIzm, 10, 45, 1)},
    {L"", at(kDoc, 10, 80, 1)},
    {L"", at(kSign, 10, 40, 1)},
    {L"", at(kDate, 10, 40, 1)},
    {L"Лит.", at(kFmRight + 130, 3, 45, 1)},
    {L"Масса", at(kFmRight + 175, 3, 45, 1)},
    {L"Масштаб", at(kFmRight + 220, 3, 45, 1)},
    {L"Лист", at(kFmRight + 130, 7, 30, 1)},
    {L"Листов", at(kFmRight + 195, 7, 35, 1)},
    {L"Копировал", below(30, 11, 48)},
    {L"Формат", below(260, 11, 38)},
};

constexpr Button kFormButtons[] = {
    {L"Command1", L"OK", below(340, 13, 60)},
    {L"Command2", L"Отменить", below(405, 13, 60)},
};

constexpr ExtraBox kExtraBoxes[] = {
    {L"inv_n_podl", L"Инв. N подл.", false}, {L"podl_podp", L"Подп. и дата", false},
    {L"vz_inv_n", L" Взаим. инв. N", false}, {L"inv_n_dubl", L"Инв. N дубл.", false},
    {L"dubl_podp", L"Подп. и дата", false},  {L"per_prim", L"Первич. прим.", true},
    {L"sprav_nom", L"Справ. N", true},
};

} // namespace

// The three programs' feature matrix, each program's features named.
const ProgramLayout& stampFirstSheet() {
    static const ProgramLayout layout{.name = L"StampFirstSheet",
                                      .topmost = false,
                                      .stripQuotes = true,
                                      .addDelete = true,
                                      .lineLimits = true,
                                      .calendar = true,
                                      .form3 = true,
                                      .flag = FlagUse::ReadWrite,
                                      .unloadFocuses = true,
                                      .fields = kFirstSheetFields,
                                      .captions = kFirstSheetCaptions,
                                      .buttons = kFirstSheetButtons,
                                      .grid = at(0, 0, 480, 8),
                                      .width = 494,
                                      .height = kTop + 10 * kRow + 6 + kRow + 7};
    return layout;
}

const ProgramLayout& stampNextSheets() {
    static const ProgramLayout layout{.name = L"StampNextSheets",
                                      .topmost = false,
                                      .stripQuotes = true,
                                      .addDelete = false,
                                      .lineLimits = true,
                                      .calendar = false,
                                      .form3 = true,
                                      .flag = FlagUse::ReadOnly,
                                      .unloadFocuses = true,
                                      .fields = kNextSheetsFields,
                                      .captions = kNextSheetsCaptions,
                                      .buttons = kNextSheetsButtons,
                                      .grid = at(0, 0, 470, 3),
                                      .width = 484,
                                      .height = kTop + 5 * kRow + 6 + kRow + 7};
    return layout;
}

const ProgramLayout& stampForm() {
    static const ProgramLayout layout{.name = L"StampForm",
                                      .topmost = true,
                                      .stripQuotes = false,
                                      .addDelete = false,
                                      .lineLimits = false,
                                      .calendar = false,
                                      .form3 = false,
                                      .flag = FlagUse::None,
                                      .unloadFocuses = false,
                                      .fields = kFormFields,
                                      .captions = kFormCaptions,
                                      .buttons = kFormButtons,
                                      .grid = at(0, 0, 470, 11),
                                      .width = 484,
                                      .height = kTop + 13 * kRow + 6 + kRow + 7};
    return layout;
}

std::span<const ExtraBox> extraBoxes() {
    return kExtraBoxes;
}

} // namespace stamps
