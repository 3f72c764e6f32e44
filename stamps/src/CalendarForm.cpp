#include "Forms.h"

namespace stamps {
namespace {
constexpr WORD kCalendarTemplate = 202;
constexpr short kWidth = 150, kCalendarHeight = 110;
} // namespace

CalendarForm::CalendarForm(CWnd* owner, const SYSTEMTIME& value, std::wstring tag)
    : CDialog(kCalendarTemplate, owner), form_(kCalendarTemplate, L"Календарь", kWidth, kCalendarHeight + 32),
      value_(value), tag_(std::move(tag)) {
    calendar_ = form_.add(L"Calendar1", MONTHCAL_CLASSW, L"", WS_TABSTOP | WS_BORDER, 7, 7, kWidth - 14,
                          kCalendarHeight - 7);
    ok_ = form_.add(L"OK", L"Button", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, kWidth - 2 * 55,
                    kCalendarHeight + 8, 48, 14);
    cancel_ = form_.add(L"Отмена", L"Button", L"Отмена", BS_PUSHBUTTON | WS_TABSTOP, kWidth - 55,
                        kCalendarHeight + 8, 48, 14);
    form_.controls.ok = ok_;
    form_.controls.cancel = cancel_;
    form_.seal();
}

BOOL CalendarForm::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SendDlgItemMessageW(m_hWnd, calendar_, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&value_));
    return TRUE;
}

LRESULT CalendarForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KICKIDLE:
        if (!pal::responder::personAnswers())
            respond(m_hWnd, form_.controls);
        return FALSE;
    case WM_CLOSE:
        EndDialog(IDCANCEL);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == ok_ && HIWORD(wParam) == BN_CLICKED) {
            SYSTEMTIME chosen{};
            wchar_t text[32] = {};
            if (::SendDlgItemMessageW(m_hWnd, calendar_, MCM_GETCURSEL, 0,
                                      reinterpret_cast<LPARAM>(&chosen)) &&
                GetDateFormatW(0x0400, DATE_SHORTDATE, &chosen, nullptr, text, 32) > 0)
                tag_ = text;
            EndDialog(IDOK);
        } else if (LOWORD(wParam) == cancel_ && HIWORD(wParam) == BN_CLICKED) {
            EndDialog(IDCANCEL);
        }
        // Enter and Escape are the buttons' business, not the dialog's.
        return 0;
    default:
        return CDialog::WindowProc(message, wParam, lParam);
    }
}

} // namespace stamps
