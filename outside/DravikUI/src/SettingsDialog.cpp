// The UI module's settings dialog and input form: one check box per check entry with its
// description under it, a text per text entry, an edit per edit entry, and OK and Cancel. Like
// every question to a person it is a live window; without a person the responder answers it: a
// number presses that button; a text fills the first edit and presses OK when the form has an
// edit, and otherwise is "1" and "0" separated by commas that set the check boxes in entry order
// before OK.
#include "DravikUI/detail/module.h"

#include "pal/responder.h"

#include <algorithm>
#include <string>

namespace Dravik::UI {

namespace {

constexpr WORD kFirstCheck = 1000;
constexpr short kWidth = 240, kLine = 12, kMargin = 7, kButtonWidth = 50, kButtonHeight = 14;

std::wstring loadString(unsigned id) {
    wchar_t buffer[512] = {};
    AfxLoadString(id, buffer, 512);
    return buffer;
}

std::vector<std::wstring> splitAtCommas(const std::wstring& text) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t comma; (comma = text.find(L',', start)) != std::wstring::npos; start = comma + 1)
        parts.push_back(text.substr(start, comma - start));
    parts.push_back(text.substr(start));
    return parts;
}

struct Run {
    std::vector<UIModuleProxy::SettingsEntry>* entries;
    pal::responder::Prompt prompt;
    bool answering = false;
};

constexpr int kCheck = 8, kEdit = 11, kText = 12;

std::wstring itemText(HWND dialog, int id) {
    const HWND item = ::GetDlgItem(dialog, id);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return text;
}

void finish(HWND dialog, Run& run, int button) {
    if (button == IDOK) {
        for (size_t i = 0; i < run.entries->size(); ++i) {
            auto& entry = (*run.entries)[i];
            const int id = kFirstCheck + static_cast<int>(i);
            if (entry.Kind == kCheck)
                entry.Value = ::IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0;
            else if (entry.Kind == kEdit)
                entry.Text = itemText(dialog, id);
        }
    }
    pal::responder::answered(run.prompt, std::to_string(button), run.answering ? "responder" : "input");
    ::EndDialog(dialog, button);
}

// The queued answer, carried out through the dialog's own controls.
void respond(HWND dialog, Run& run) {
    const auto answer = pal::responder::take();
    if (!answer) {
        pal::responder::unanswered(run.prompt, std::to_string(IDCANCEL));
        ::EndDialog(dialog, IDCANCEL);
        return;
    }
    run.answering = true;
    if (answer->number) {
        if (*answer->number != IDOK && *answer->number != IDCANCEL) {
            pal::responder::refused(run.prompt, *answer, "the dialog has no such button");
            ::EndDialog(dialog, IDCANCEL);
            return;
        }
        ::PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(*answer->number), 0);
        return;
    }
    for (size_t i = 0; i < run.entries->size(); ++i) {
        if ((*run.entries)[i].Kind == kEdit) {
            ::SetDlgItemTextW(dialog, kFirstCheck + static_cast<int>(i), answer->text.c_str());
            ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            return;
        }
    }
    const auto states = splitAtCommas(answer->text);
    const bool fits = states.size() == run.entries->size() &&
                      std::all_of(states.begin(), states.end(),
                                  [](const std::wstring& s) { return s == L"0" || s == L"1"; });
    if (!fits) {
        pal::responder::refused(run.prompt, *answer, "not one check state (0 or 1) per entry");
        ::EndDialog(dialog, IDCANCEL);
        return;
    }
    for (size_t i = 0; i < states.size(); ++i)
        ::CheckDlgButton(dialog, kFirstCheck + static_cast<int>(i),
                         states[i] == L"1" ? BST_CHECKED : BST_UNCHECKED);
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

INT_PTR procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* run = reinterpret_cast<Run*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        run = reinterpret_cast<Run*>(lParam);
        for (size_t i = 0; i < run->entries->size(); ++i) {
            const auto& entry = (*run->entries)[i];
            const int id = kFirstCheck + static_cast<int>(i);
            if (entry.Kind == kCheck)
                ::CheckDlgButton(dialog, id, entry.Value ? BST_CHECKED : BST_UNCHECKED);
            if (entry.Kind == kEdit) {
                ::SetDlgItemTextW(dialog, id, entry.Text.c_str());
                if (entry.MaxLength > 0)
                    ::SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, static_cast<WPARAM>(entry.MaxLength), 0);
            }
        }
        if (!pal::responder::personAnswers())
            respond(dialog, *run);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            finish(dialog, *run, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        finish(dialog, *run, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int RunSettingsDialog(HWND owner, unsigned captionId, std::vector<UIModuleProxy::SettingsEntry>& entries) {
    const std::wstring caption = loadString(captionId);
    std::vector<std::wstring> texts;
    std::vector<pal::win::DialogItem> items;
    texts.reserve(entries.size() * 2);
    short y = kMargin;
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto id = static_cast<WORD>(kFirstCheck + i);
        if (entries[i].Kind == kText) {
            texts.push_back(loadString(entries[i].CaptionId));
            items.push_back({L"Static", texts.back().c_str(), id, SS_LEFT | SS_NOPREFIX, kMargin, y,
                             kWidth - 2 * kMargin, kLine});
            y += kLine;
            continue;
        }
        if (entries[i].Kind == kEdit) {
            items.push_back({L"Edit", L"", id, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kMargin, y,
                             kWidth - 2 * kMargin, kLine + 2});
            y += kLine + 6;
            continue;
        }
        texts.push_back(loadString(entries[i].CaptionId));
        items.push_back({L"Button", texts.back().c_str(), id, BS_AUTOCHECKBOX | WS_TABSTOP, kMargin, y,
                         kWidth - 2 * kMargin, kLine});
        y += kLine;
        texts.push_back(loadString(entries[i].DescriptionId));
        items.push_back({L"Static", texts.back().c_str(), 0, SS_LEFT, static_cast<short>(kMargin + 12), y,
                         static_cast<short>(kWidth - 2 * kMargin - 12), 2 * kLine});
        y += 2 * kLine + 4;
    }
    const short buttons = static_cast<short>(y + 4);
    items.push_back({L"Button", L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP,
                     static_cast<short>(kWidth - 2 * (kButtonWidth + kMargin)), buttons, kButtonWidth,
                     kButtonHeight});
    items.push_back({L"Button", L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP,
                     static_cast<short>(kWidth - kButtonWidth - kMargin), buttons, kButtonWidth,
                     kButtonHeight});
    const pal::win::DialogTemplate dialog{
        0,           caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,    0,
        0,           kWidth,          static_cast<short>(buttons + kButtonHeight + kMargin), items.data(),
        items.size()};
    Run run{&entries, {"SettingsDialog", caption, caption, 0, IDCANCEL}};
    const INT_PTR result = pal::win::dialogBox(dialog, owner, procedure, reinterpret_cast<LPARAM>(&run));
    return static_cast<int>(result);
}

} // namespace Dravik::UI
