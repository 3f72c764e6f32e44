#include "FieldProcedures.h"

#include "Procedures.h"

#include "pal/text.h"
#include "windows.h"

#include <algorithm>
#include <cstdio>

namespace stamps {

std::wstring controlText(HWND control) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<std::wstring> comboItems(HWND combo) {
    std::vector<std::wstring> items;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring item(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(
            static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

void addComboItem(HWND combo, const std::wstring& item) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void LoadComboHistory(const PersonCombo& person, const std::wstring& program) {
    std::wstring why;
    for (const std::wstring& item : LoadComboHistory(person.role, &why))
        addComboItem(person.combo, item);
    if (!why.empty())
        std::fprintf(stderr, "%s: the history of \"%s\" %s\n", pal::text::toUtf8(program).c_str(),
                     pal::text::toUtf8(person.role).c_str(), pal::text::toUtf8(why).c_str());
}

void SaveComboHistory(const PersonCombo& person) {
    const std::wstring text = controlText(person.combo);
    std::vector<std::wstring> items = comboItems(person.combo);
    if (!text.empty() && std::find(items.begin(), items.end(), text) == items.end()) {
        addComboItem(person.combo, text);
        items.push_back(text);
    }
    SaveComboHistory(person.role, items);
}

bool flagIsOff(const std::wstring& value) {
    return value == L"-1" || value == L"\"-1\"";
}

void FieldProcedures::GV(const std::wstring& name, HWND box) {
    const std::wstring value = emptyForQuotes(server_.GetVarExpression(name));
    ::SetWindowTextW(box, (stripQuotes_ ? GetStr(value) : value).c_str());
}

void FieldProcedures::GC(const std::wstring& name, const PersonCombo& person) {
    GV(name, person.combo);
    LoadComboHistory(person, program_);
}

void FieldProcedures::GR(const std::wstring& name, std::wstring& value) {
    value = emptyForQuotes(server_.GetVarExpression(name));
}

void FieldProcedures::SV(const std::wstring& name, HWND box) {
    server_.SetVarExpression(name, controlText(box));
}

void FieldProcedures::SC(const std::wstring& name, const PersonCombo& person) {
    SV(name, person.combo);
    SaveComboHistory(person);
}

void FieldProcedures::SR(const std::wstring& name, const std::wstring& value) {
    server_.SetVarExpression(name, value);
}

} // namespace stamps
