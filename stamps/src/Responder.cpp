#include "Responder.h"

#include "pal/responder.h"
#include "pal/text.h"
#include "windows.h"

#include <cwctype>

namespace stamps {
namespace {

std::wstring unescaped(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'r') {
            out += L'\r';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Splits off the first word.
std::wstring firstWord(std::wstring& rest) {
    const size_t space = rest.find(L' ');
    std::wstring word = rest.substr(0, space);
    rest = space == std::wstring::npos ? std::wstring() : rest.substr(space + 1);
    return word;
}

bool focusedInside(HWND control) {
    const HWND focus = GetFocus();
    return focus == control || IsChild(control, focus);
}

void focus(HWND form, HWND control) {
    if (!focusedInside(control))
        SendMessageW(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void typeInto(const std::wstring& text) {
    for (wchar_t c : unescaped(text))
        SendMessageW(GetFocus(), WM_CHAR, c, 1);
}

} // namespace

bool dateFromText(const std::wstring& text, SYSTEMTIME& date) {
    int parts[3] = {};
    int count = 0, digits = 0;
    for (wchar_t c : text + L".") {
        if (std::iswdigit(c)) {
            parts[count] = parts[count] * 10 + (c - L'0');
            if (++digits > 4)
                return false;
        } else if (c == L'.' && digits > 0 && count < 3) {
            ++count;
            digits = 0;
        } else {
            return false;
        }
    }
    if (count != 3)
        return false;
    SYSTEMTIME d{};
    d.wDay = static_cast<WORD>(parts[0]);
    d.wMonth = static_cast<WORD>(parts[1]);
    d.wYear = static_cast<WORD>(parts[2] < 100 ? 2000 + parts[2] : parts[2]);
    // A date that does not exist has no short form.
    wchar_t check[16];
    if (GetDateFormatW(0x0400, DATE_SHORTDATE, &d, nullptr, check, 16) == 0)
        return false;
    date = d;
    return true;
}

void respond(HWND form, const FormControls& controls) {
    pal::responder::Prompt prompt{"Dialog", L"", controls.caption, 0, 0};
    const auto answer = pal::responder::take();
    if (!answer) {
        pal::responder::unanswered(prompt, "close");
        PostMessageW(form, WM_CLOSE, 0, 0);
        return;
    }
    const auto refuse = [&](const std::string& why) {
        pal::responder::refused(prompt, *answer, why);
        PostMessageW(form, WM_CLOSE, 0, 0);
    };
    const auto press = [&](int id) {
        const HWND button = GetDlgItem(form, id);
        if (!button || !IsWindowEnabled(button))
            return refuse("the button is not there or is disabled");
        focus(form, button);
        SendMessageW(button, BM_CLICK, 0, 0);
    };
    if (answer->number) {
        if (*answer->number == 1 && controls.ok)
            press(controls.ok);
        else if (*answer->number == 2 && controls.cancel)
            press(controls.cancel);
        else
            return refuse("the form has no such button");
    } else {
        std::wstring rest = answer->text;
        const std::wstring verb = firstWord(rest);
        if (verb == L"close") {
            PostMessageW(form, WM_CLOSE, 0, 0);
        } else {
            const std::wstring name = firstWord(rest);
            const auto found = controls.ids.find(name);
            const HWND control = found == controls.ids.end() ? nullptr : GetDlgItem(form, found->second);
            if (!control)
                return refuse("the form has no control of that name");
            if (!IsWindowEnabled(control))
                return refuse("the control is disabled");
            if (verb == L"type") {
                focus(form, control);
                SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
                typeInto(rest);
            } else if (verb == L"keys") {
                focus(form, control);
                const int end = GetWindowTextLengthW(GetFocus());
                SendMessageW(GetFocus(), EM_SETSEL, end, end);
                typeInto(rest);
            } else if (verb == L"choose") {
                const LRESULT item = SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(rest.c_str()));
                if (item < 0)
                    return refuse("the combo box has no such item");
                focus(form, control);
                SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
                SendMessageW(form, WM_COMMAND, MAKEWPARAM(found->second, CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(control));
            } else if (verb == L"click") {
                press(found->second);
            } else if (verb == L"pick") {
                SYSTEMTIME date{};
                if (!dateFromText(rest, date) ||
                    !SendMessageW(control, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date)))
                    return refuse("not a date the calendar takes");
            } else {
                return refuse("no such action");
            }
        }
    }
    pal::responder::answered(prompt, answer->describe(), "responder");
    // The form's loop goes on to its next idle turn.
    PostMessageW(form, WM_NULL, 0, 0);
}

} // namespace stamps
