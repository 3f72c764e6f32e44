// The responder's side of the dialog manager's modal loops, and of the class library's, when
// nobody is at a display: a loop that would wait for a person it cannot reach waits for nobody.
#include "modal.h"

#include "pal/responder.h"
#include "pal/text.h"
#include "pal/unattended_dialog.h"
#include "win/controls/dialog.h"

#include <optional>
#include <string>

namespace pal::win {
namespace {

// Answers that move nothing before the loop gives up on the dialog.
constexpr int kMostFruitless = 16;

std::wstring textOf(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), n + 1)));
    return text;
}

// The enabled button whose label, without its '&' marks, is `label`.
HWND buttonLabelled(HWND dialog, const std::wstring& label) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        if (pal::text::equalsNoCase(cls, L"Button") && IsWindowEnabled(child) &&
            pal::text::equalsNoCase(pal::ctl::withoutMnemonic(textOf(child)),
                                    pal::ctl::withoutMnemonic(label)))
            return child;
    }
    return nullptr;
}

void press(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

} // namespace

UnattendedDialog::UnattendedDialog(HWND dialog) : dialog_(dialog) {}

UnattendedDialog::Outcome UnattendedDialog::answer() {
    // A dialog a display shows waits for its keys and clicks, as a person's would; only one
    // nobody can see is answered here.
    if (pal::responder::displayShowsWindows())
        return Outcome::PersonAnswers;
    if (!IsWindow(dialog_) || ++fruitless_ > kMostFruitless)
        return Outcome::Ignored;
    pal::responder::Prompt prompt;
    prompt.kind = "Dialog";
    prompt.caption = textOf(dialog_);
    prompt.text = prompt.caption;
    prompt.defaultAnswer = IDCANCEL;
    const std::optional<pal::responder::Answer> a = pal::responder::take();
    int id = IDCANCEL;
    if (!a) {
        pal::responder::unanswered(prompt, std::to_string(IDCANCEL));
    } else if (a->number) {
        id = *a->number;
        pal::responder::answered(prompt, a->describe(), "responder");
    } else if (const HWND button = buttonLabelled(dialog_, a->text)) {
        id = GetDlgCtrlID(button);
        pal::responder::answered(prompt, a->describe(), "responder");
    } else {
        pal::responder::refused(prompt, *a, "the dialog has no such button");
    }
    press(dialog_, id);
    return Outcome::Answered;
}

} // namespace pal::win
